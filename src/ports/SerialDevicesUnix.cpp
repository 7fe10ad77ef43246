// The serial devices of a Linux system, as the toolkit lists them, with their names under
// /dev/serial/by-id.

#include "ports/SerialDevices.h"

#include <QSerialPortInfo>

namespace telmaris {

QString defaultComDevice(int comPort) {
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
}

SerialDevices detectSerialDevices() {
    SerialDevices devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports) {
        SerialDevice device;
        device.description = port.description().trimmed();
        device.manufacturer = port.manufacturer().trimmed();
        device.path = port.systemLocation();
        device.stableName = stableNameOf(device.path);
        devices.append(device);
    }
    sortForComNumbers(devices);
    return devices;
}

} // namespace telmaris
