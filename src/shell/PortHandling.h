#pragma once
// The window's ports: the COM numbers' devices (the settings file's, free numbers filled from
// the devices the system reports), the probe of which of them can be opened, and showing both
// on the options page. The probe runs off the window thread, at start-up, on "Neu suchen" and
// for a port whose device changed since the last probe; a visit to the page opens no port that
// was probed already.

#include "ports/PortMap.h"
#include "ports/SerialDevices.h"

#include <QObject>

namespace telmaris {

class IniSnapshot;
class OptionsPage;
class PortProber;

class PortHandling : public QObject {
    Q_OBJECT
public:
    PortHandling(OptionsPage &page, QObject *parent = nullptr);

    // Where the serial devices come from (the system's list unless a test hands in its own).
    void setDeviceDetector(DeviceDetector detector) { detectDevices_ = std::move(detector); }

    // The start: the file's devices, free COM numbers filled, and the first probe.
    void startUp(const IniSnapshot &ini);
    // A visit to the options page: devices detected anew and free numbers filled; only ports
    // whose device changed are probed, and the page shows the result.
    void pageShown();

    const PortMap &map() const { return map_; }
    const PortProbe &probe() const { return probe_; } // the last probe's result
    bool probing() const;
    // One line on standard error for each port the last probe could not open; for port only,
    // when given (1..4).
    void printUnusable(int port = 0) const;
    // Whether the last probe could open COM comPort (1..4).
    bool usable(int comPort) const { return probe_.usable.at(comPort - 1); }

Q_SIGNALS:
    // A probe's result is in: probe() holds it, and the page shows it.
    void probed();

private:
    enum class Probe { All, Changed };
    void detect();
    void probeAgain(Probe which);
    void take(const PortProbe &probe);
    void chooseDevice(int comPort, const QString &device);
    void show();

    OptionsPage &page_;
    PortProber *prober_;
    PortMap map_;
    DeviceDetector detectDevices_ = detectSerialDevices;
    SerialDevices detected_; // at the last detection
    PortProbe probe_;
};

} // namespace telmaris
