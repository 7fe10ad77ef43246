#include "ports/PortMap.h"

#include "ports/PortDiagnosis.h"
#include "ports/SerialLine.h"
#include "store/StartData.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace telmaris {

PortMap::PortMap() {
    for (int n = 1; n <= 4; ++n)
        devices_[n - 1] = defaultComDevice(n);
}

QString PortMap::device(int comPort) const {
    if (comPort < 1 || comPort > 4)
        return {};
    return devices_[comPort - 1];
}

void PortMap::setDevice(int comPort, const QString &device) {
    if (comPort < 1 || comPort > 4)
        return;
    devices_[comPort - 1] = device;
    assigned_[comPort - 1] = true;
}

bool PortMap::namedByFile() const {
    return std::any_of(stored_.begin(), stored_.end(),
                       [](const QString &device) { return !device.isEmpty(); });
}

void PortMap::fillFrom(const SerialDevices &devices) {
    if (namedByFile())
        return;
    const PortMap defaults;
    const auto standsFor = [this](const SerialDevice &device) {
        return std::any_of(devices_.begin(), devices_.end(),
                           [&device](const QString &name) { return device.isNamed(name); });
    };
    for (int i = 0; i < 4; ++i) {
        if (assigned_[i] || devices_[i] != defaults.devices_[i])
            continue;
        const auto real = [this, i](const SerialDevice &device) {
            return device.isNamed(devices_[i]);
        };
        if (std::any_of(devices.begin(), devices.end(), real))
            continue; // real hardware keeps its COM number
        const auto free =
            std::find_if(devices.begin(), devices.end(),
                         [&standsFor](const SerialDevice &device) { return !standsFor(device); });
        if (free == devices.end())
            return;
        devices_[i] = free->name();
        assigned_[i] = true;
    }
}

QStringList PortProbe::distinctGroupRemedies() const {
    QStringList remedies;
    for (const QString &remedy : groupRemedies)
        if (!remedy.isEmpty() && !remedies.contains(remedy))
            remedies << remedy;
    return remedies;
}

PortProbe checkComPorts(const PortMap &ports, const PortProbe *earlier) {
    PortProbe probe;
    for (int n = 1; n <= 4; ++n) {
        const QString device = ports.device(n);
        probe.devices[n - 1] = device;
        if (earlier && earlier->devices[n - 1] == device) {
            probe.usable[n - 1] = earlier->usable[n - 1];
            probe.reasons[n - 1] = earlier->reasons[n - 1];
            probe.groupRemedies[n - 1] = earlier->groupRemedies[n - 1];
            continue;
        }
        SerialLine line;
        QString reason;
        probe.usable[n - 1] =
            line.open(device, baudOfSpeedPosition(ProbeSpeedPosition), false, &reason);
        line.close();
        if (!probe.usable[n - 1]) {
            probe.reasons[n - 1] = reason;
            probe.groupRemedies[n - 1] = groupRemedy(device);
        }
    }
    return probe;
}

void printUnusablePorts(const PortMap &ports, const PortProbe &probe, int port) {
    QTextStream err(stderr);
    for (int n = 1; n <= 4; ++n)
        if (!probe.usable[n - 1] && (port == 0 || port == n))
            err << "COM" << n << " (" << ports.device(n) << "): " << probe.reasons[n - 1]
                << Qt::endl;
}

} // namespace telmaris
