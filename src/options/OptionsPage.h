#pragma once
// The options page: serial port, dialling method, modem speed, the modem's reset and
// initialisation commands, the separator-line length, the editor's wrap mode and the list of
// script names. Each control's handler copies its value into the settings record at once;
// the port is taken by the main window when the page is left.

#include "store/SkriptNames.h"
#include "store/StartData.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;

namespace telmaris {

class Dialogs;
struct PortProbe;

class OptionsPage : public QWidget {
    Q_OBJECT
public:
    OptionsPage(StartData &data, Dialogs &dialogs, QWidget *parent = nullptr);

    // Enables the button of every port the probe could open; each button's tooltip names its
    // device (and, for a port that cannot be used, why).
    void SetPorts(const PortProbe &probe, const std::array<QString, 4> &devices);
    // Selects the button of port 1..4 (also a disabled one: a stored port is kept).
    void SelectPort(int comPort);
    // 1 plus the index of the first selected port button; 0 when none is selected.
    int SelectedPort() const;

    // Start-up: each sets its control, whose own handler then fills the settings record.
    void SetModemReset(const QString &text);
    void SetModemInit(const QString &text);
    void SetSpeed(int position);
    void SetDialPuls(int dialPuls);
    void SetLineLen(int lineLen);
    void SetUmbruch(int umbruch);
    // Fills the name list with the 100 names as read.
    void FillNames(const std::array<QString, 100> &names);

    QString GetSkriptNameFromListbySkriptIndex(int n) const {
        return names_.GetSkriptNameFromListbySkriptIndex(n);
    }
    std::array<QString, 100> AllNames() const;

    // The controls that show hover hints.
    QGroupBox *UmbruchFrame() const { return umbruchFrame_; }
    QListWidget *SkriptNameListBox() const { return nameList_; }

Q_SIGNALS:
    void UmbruchChanged(int umbruch); // the wrap box was switched: show Edit(umbruch)
    void LineLenChanged(int lineLen);

private:
    void takeDialMethod(int index);
    void takeSpeed();
    void takeModemReset();
    void takeModemInit();
    void takeLineLen();
    void takeUmbruch();
    void renameSelectedSkript();
    void ShowNameEntry(int n);

    QGroupBox *BuildPortFrame();
    QGroupBox *BuildDialFrame();
    QGroupBox *BuildCommandFrame(const QString &caption, QLineEdit *&edit, const char *name);

    StartData &data_;
    Dialogs &dialogs_;
    SkriptNameList names_;

    std::array<QRadioButton *, 4> portButtons_{};
    std::array<QRadioButton *, 2> dialButtons_{};
    QButtonGroup *portGroup_ = nullptr;
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
};

} // namespace telmaris
