#include "ports/PortMap.h"

#include "store/IniFile.h"

namespace telmaris {

// Keys COM1..COM4 of section [Ports]; a missing or empty key keeps the platform default.
PortMap PortMap::fromIni(const IniSnapshot &ini) {
    PortMap map;
    for (int n = 1; n <= 4; ++n) {
        const QString device = ini.value(PortsSection, QStringLiteral("COM%1").arg(n));
        if (!device.isEmpty())
            map.setDevice(n, device);
    }
    return map;
}

} // namespace telmaris
