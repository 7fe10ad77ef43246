#pragma once
// Why a serial device cannot be opened, found out on the system itself and told in plain
// German with what the user can do: the device is not there (unplugged, or no hardware
// behind the node), the user lacks the permission (the device's group, whether the user is
// in it, the command that helps), another program holds it (its name and process number where
// a lock file or /proc tells them, ModemManager by name), or else the system's own reason.

#include <QString>

namespace telmaris {

// device: the path that failed to open; systemText: the toolkit's or system's own reason,
// told when nothing better is found.
QString diagnosePort(const QString &device, const QString &systemText);

} // namespace telmaris
