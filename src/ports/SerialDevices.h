#pragma once
// The serial devices this computer reports (USB modems, USB serial adapters, serial ports that
// are real hardware), each with what the system tells about it and, where it has one, the name
// under /dev/serial/by-id that survives re-plugging and renumbering.

#include <QList>
#include <QString>
#include <functional>

namespace telmaris {

struct SerialDevice {
    QString description;  // as the system reports it, e.g. a USB modem's product name
    QString manufacturer; // its maker, as the system reports it
    QString stableName;   // /dev/serial/by-id/…, or empty when the device has none
    QString path;         // the device node, e.g. /dev/ttyACM0

    // The name COM n is given for this device: the stable name where there is one.
    QString name() const { return stableName.isEmpty() ? path : stableName; }
    // Whether name is this device, by its stable name, its path or the node a link leads to.
    bool isNamed(const QString &name) const;
};
using SerialDevices = QList<SerialDevice>;

// Where the list comes from: the system (detectSerialDevices) unless a test hands in its own.
using DeviceDetector = std::function<SerialDevices()>;

// The device COM n (1..4) stands for unless the settings file or a reported device says
// otherwise: /dev/ttyS(n-1) on Linux, COMn on Windows.
QString defaultComDevice(int comPort);

// The devices the system reports now, in the order COM numbers are filled from them.
SerialDevices detectSerialDevices();

// Starts detectSerialDevices on a thread of its own at once, so that the program can build its
// window meanwhile (the system's list takes as long as the window). The detector returned
// hands out that result at its first call, waiting for it if need be, and detects anew at
// every later one.
DeviceDetector detectSerialDevicesAhead();

// The order in which free COM numbers are given devices: USB modems (ttyACM) first, then USB
// serial adapters (ttyUSB), then all others; within each kind by the name COM n is given, so
// the order does not depend on which device was plugged in first.
void sortForComNumbers(SerialDevices &devices);

// The number of a Windows port name such as "COM7"; 0 for any other name.
int comNumber(const QString &name);
// The order in which free COM numbers are given the COM ports a Windows system lists: modems
// first, then the other ports (without the modems' own), each by number.
SerialDevices orderForComNumbers(SerialDevices modems, const SerialDevices &ports);

// The stable name of a device node: the entry of folder (normally /dev/serial/by-id) that
// leads to it; empty when none does.
QString stableNameOf(const QString &path,
                     const QString &folder = QStringLiteral("/dev/serial/by-id"));

} // namespace telmaris
