#include "ports/PortMap.h"

#include "store/IniFile.h"

namespace telmaris {

// Keys COM1..COM4 of section [Ports]; a missing or empty key keeps the platform default.
PortMap PortMap::fromIni(const IniSnapshot &ini) {
    PortMap map;
    for (int n = 1; n <= 4; ++n) {
        const QString device = ini.value(PortsSection, QStringLiteral("COM%1").arg(n));
        if (!device.isEmpty())
            map.devices_[n - 1] = map.stored_[n - 1] = device;
    }
    return map;
}

QList<QPair<QString, QString>> PortMap::changedEntries() const {
    IniEntries entries;
    for (int i = 0; i < 4; ++i) {
        if (assigned_[i] && devices_[i] != stored_[i])
            entries.append({QStringLiteral("COM%1").arg(i + 1), devices_[i]});
    }
    return entries;
}

} // namespace telmaris
