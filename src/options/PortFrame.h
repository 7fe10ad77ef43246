#pragma once
// The options page's frame "Wo ist das &Modem angeschlossen?": the four port buttons, each with
// a chooser for its device and a line that names the device or says in short why it cannot be
// used; below them, wrapped over the frame's width, the whole reason and its remedy for the
// unusable port the user turned to last. The frame only shows what it is given; the main window
// detects the devices and keeps the port map.

#include "ports/SerialDevices.h"

#include <QGroupBox>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace telmaris {

struct PortProbe;

class PortFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PortFrame(QWidget *parent = nullptr);

    // Enables the button of every port the probe could open. Beside each button: the device
    // it stands for, with its description, manufacturer and path where it is among detected,
    // or why it cannot be used; its chooser lists the detected devices.
    void setPorts(const PortProbe &probe, const std::array<QString, 4> &devices,
                  const SerialDevices &detected);
    // Selects the button of port 1..4 (also a disabled one: a stored port is kept).
    void selectPort(int comPort);
    // 1 plus the index of the first selected port button; 0 when none is selected.
    int selectedPort() const;
    // The device COM comPort (1..4) stands for.
    QString device(int comPort) const { return devices_[comPort - 1]; }
    // "Mo&dem testen" is offered for the selected port; not while a script runs.
    void setModemTestAllowed(bool allowed);

Q_SIGNALS:
    void rescanRequested();    // "&Neu suchen" was pressed
    void modemTestRequested(); // "Mo&dem testen" was pressed
    // The user chose a detected device or typed a path for COM comPort (1..4).
    void portDeviceChosen(int comPort, const QString &device);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takePortDevice(int comPort);
    void showReason();
    void fitReasonHeight();

    std::array<QRadioButton *, 4> portButtons_{};
    std::array<QComboBox *, 4> portDevices_{};
    std::array<QLabel *, 4> portInfos_{};
    QLabel *portReason_ = nullptr;
    QPushButton *modemTestButton_ = nullptr;
    QButtonGroup *portGroup_ = nullptr;
    std::array<QString, 4> devices_;
    std::array<QString, 4> reasons_; // empty for a usable port
    int reasonPort_ = 0;             // whose reason is shown in full, 0 for none
    bool modemTestAllowed_ = true;
};

} // namespace telmaris
