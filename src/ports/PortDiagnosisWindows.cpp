// Why a port does not open on Windows, where only the open's error tells (the serial line's
// own diagnosis, diagnoseOpenFailure): there are no lock files or device groups to look at.

#include "ports/PortDiagnosis.h"

#include "ports/PortDiagnosisTexts.h"

namespace telmaris {

QString groupRemedy(const QString &) {
    return {};
}

QString diagnosePort(const QString &device, const QString &systemText) {
    if (device.isEmpty())
        return port_texts::noDeviceNamed();
    return port_texts::otherReason(device, systemText);
}

} // namespace telmaris
