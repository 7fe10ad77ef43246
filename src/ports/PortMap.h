#pragma once
// COM 1..4 to device names. Section [Ports] of the settings file, keys COM1..COM4; defaults
// /dev/ttyS0../dev/ttyS3 on Linux and COM1..COM4 on Windows. Where a default is no real
// hardware, the COM number stands for a device the system reports (a USB modem) instead.

#include "ports/SerialDevices.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <array>

namespace telmaris {

class IniSnapshot;

class PortMap {
public:
    PortMap(); // the platform defaults
    static PortMap fromIni(const IniSnapshot &ini);
    QString device(int comPort) const; // comPort 1..4
    // COM n stands for device from now on, and is stored so at the close.
    void setDevice(int comPort, const QString &device);

    // Whether the settings file names a device for any COM number. Such a file was written
    // for these devices (by hand, or at an earlier close): nothing is filled in then.
    bool namedByFile() const;
    // Gives every COM number that still stands for its platform default, where that default
    // is not among devices (no real hardware), the next of devices that no COM number stands
    // for yet, in the list's order. Does nothing when the file names devices.
    void fillFrom(const SerialDevices &devices);

    // The entries of section [Ports] to write at the close: COM n for each number that was
    // filled in or chosen and that the file does not already hold so.
    QList<QPair<QString, QString>> changedEntries() const;

private:
    std::array<QString, 4> devices_;
    std::array<QString, 4> stored_; // as the file names them; empty for none
    std::array<bool, 4> assigned_{};
};

struct PortProbe {
    std::array<bool, 4> usable{};   // COM n can be opened
    std::array<QString, 4> reasons; // why not, for those that cannot
    std::array<QString, 4> devices; // the device each result is for
    // What lets the user open a port refused for want of its device's group (groupRemedy).
    std::array<QString, 4> groupRemedies;
    bool anyUsable() const { return usable[0] || usable[1] || usable[2] || usable[3]; }
    // The group remedies of the ports, each once, in the ports' order.
    QStringList distinctGroupRemedies() const;
};

// Opens and closes each of the four ports at 1200 baud 8N1 and notes why a port cannot be
// opened. With an earlier probe, a port that still stands for the device probed then keeps
// that result and is not opened again: each open pulses DTR on a real modem, and a refused
// port may take a search through every process's open files.
PortProbe checkComPorts(const PortMap &ports, const PortProbe *earlier = nullptr);

// One line on standard error for each port the probe could not open, or for port only when it
// is given (1..4) and cannot be opened: the port, its device and the reason.
void printUnusablePorts(const PortMap &ports, const PortProbe &probe, int port = 0);

} // namespace telmaris
