#pragma once
// The wording of the reasons a port does not open that every platform shares; each platform's
// diagnosis puts them together from what its system tells.

#include <QString>

namespace telmaris::port_texts {

QString noDeviceNamed();
QString notThere(const QString &device);
// The system's own reason, or none.
QString otherReason(const QString &device, const QString &systemText);
QString heldByAnother(const QString &device);
// What the user can do about a port another program holds; starts with a blank.
QString leaveOrChoose();

} // namespace telmaris::port_texts
