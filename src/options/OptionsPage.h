#pragma once
// The options page: serial port, dialling method, modem speed, the modem's reset and
// initialisation commands, the separator-line length, the editor's wrap mode and the list of
// script names. Each control's handler copies its value into the settings record at once;
// the port is taken by the main window when the page is left. Beside each port button the
// page shows the device it stands for, or why it cannot be used, and lets the user choose
// another device; the main window keeps the port map and detects the devices.

#include "ports/SerialDevices.h"
#include "store/SkriptNames.h"
#include "store/StartData.h"

#include <QWidget>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;

namespace telmaris {

class Dialogs;
class ElidedLabel;
class PortFrame;
struct PortProbe;

class OptionsPage : public QWidget {
    Q_OBJECT
public:
    OptionsPage(StartData &data, Dialogs &dialogs, QWidget *parent = nullptr);

    // Enables the button of every port the probe could open. Beside each button: the device
    // it stands for, with its description, manufacturer and path where it is among detected,
    // or why it cannot be used; its chooser lists the detected devices.
    void setPorts(const PortProbe &probe, const std::array<QString, 4> &devices,
                  const SerialDevices &detected = {});
    // Selects the button of port 1..4 (also a disabled one: a stored port is kept).
    void selectPort(int comPort);
    // 1 plus the index of the first selected port button; 0 when none is selected.
    int selectedPort() const;
    // "Mo&dem testen" asks the modem on the selected port; not while a script runs.
    void setModemTestAllowed(bool allowed);

    // Start-up: each sets its control, whose own handler then fills the settings record.
    void setModemReset(const QString &text);
    void setModemInit(const QString &text);
    void setSpeed(int position);
    void setDialPuls(int dialPuls);
    void setLineLen(int lineLen);
    void setUmbruch(int umbruch);
    // Names the file of the run log.
    void setRunLogPath(const QString &path);
    // Fills the name list with the 100 names as read.
    void fillNames(const std::array<QString, 100> &names);

    QString getSkriptNameFromListbySkriptIndex(int n) const {
        return names_.getSkriptNameFromListbySkriptIndex(n);
    }
    std::array<QString, 100> allNames() const;
    // Asked before a name given in the rename box is taken: the question to put to the user
    // when the name may mislead, else nothing; "Nein" keeps the old name.
    using NameCheck = std::function<QString(int n, const QString &name)>;
    void setNameCheck(NameCheck check) { nameCheck_ = std::move(check); }

    // The controls that show hover hints.
    QGroupBox *umbruchFrame() const { return umbruchFrame_; }
    QListWidget *skriptNameListBox() const { return nameList_; }

Q_SIGNALS:
    void umbruchChanged(int umbruch); // the wrap box was switched: show Edit(umbruch)
    void lineLenChanged(int lineLen);
    void runLogOpenRequested(); // "P&rotokoll öffnen" was pressed
    void rescanRequested();     // "&Neu suchen" was pressed
    // The user chose a detected device or typed a path for COM comPort (1..4).
    void portDeviceChosen(int comPort, const QString &device);
    // Script n has a new name, taken in the rename box (empty: none).
    void skriptRenamed(int n, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void orderTabStops(const QLayout *columns);
    void takeDialMethod(int index);
    void takeSpeed();
    void takeModemReset();
    void takeModemInit();
    void takeLineLen();
    void takeUmbruch();
    void renameSelectedSkript();
    void showNameEntry(int n);
    void testModem();

    QGroupBox *buildDialFrame();
    QGroupBox *buildRunLogFrame();
    QGroupBox *buildCommandFrame(const QString &caption, QLineEdit *&edit, const char *name);

    StartData &data_;
    Dialogs &dialogs_;
    SkriptNameList names_;
    NameCheck nameCheck_;

    PortFrame *portFrame_ = nullptr;
    std::array<QRadioButton *, 2> dialButtons_{};
    QButtonGroup *dialGroup_ = nullptr;
    QGroupBox *speedFrame_ = nullptr;
    QSlider *speedSlider_ = nullptr;
    QLineEdit *modemResetEdit_ = nullptr;
    QLineEdit *modemInitEdit_ = nullptr;
    QGroupBox *lineLenFrame_ = nullptr;
    QSlider *lineLenSlider_ = nullptr;
    QGroupBox *umbruchFrame_ = nullptr; // "Wie sollen die Skripts dargestellt werden?"
    QCheckBox *umbruchCheck_ = nullptr;
    QListWidget *nameList_ = nullptr;
    ElidedLabel *runLogPath_ = nullptr;
};

} // namespace telmaris
