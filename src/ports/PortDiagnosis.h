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

// Why a port failed to open where the system tells only a kind of failure (Windows): not
// there, held by another program (which one is not told), or the system's own reason.
enum class OpenFailure { NotThere, Held, Other };
QString diagnoseOpenFailure(const QString &device, OpenFailure failure, const QString &systemText);

// A reason in two or three words, for the line beside the port: "Gerät nicht vorhanden", "Keine
// Berechtigung", "Gerät belegt", … The whole reason says which device and what helps.
QString briefPortReason(const QString &reason);

// What the system tells of a device the user may not open, and of the user.
struct DeviceAccess {
    QString device;
    unsigned mode = 0; // the permission bits, e.g. 0660
    QString owner;
    QString group;
    QString user;
    bool inGroupNow = false;    // the running session has the device's group
    bool listedInGroup = false; // the user database puts the user in it, from the next log-in
};

// Why the user may not open the device, and what helps: joining its group only where the group
// may read and write it; otherwise a udev rule that gives a group access, as the manual shows.
QString permissionReason(const DeviceAccess &access);

// What lets the user open the device where the missing permission is a matter of its group:
// joining the group (the adduser command, then a new log-in), or the new log-in alone where the
// user was added already. Empty where that would not help: the group may not read and write
// the device, or the user has the group already.
QString groupRemedy(const DeviceAccess &access);
// The same for the device at path, as the system tells it now; empty also where the user may
// open the device, or may not for another reason.
QString groupRemedy(const QString &device);

} // namespace telmaris
