// On Windows, stop requests come as console control events and as the session's end, not as
// signals. Until those are caught, nothing arrives here and the process ends as Windows
// ends it.

#include "shell/StopSignals.h"

namespace telmaris {

StopSignals::StopSignals(QObject *parent) : QObject(parent) {}

StopSignals::~StopSignals() = default;

void StopSignals::readPipe() {}

QString StopSignals::name(int signal) {
    return QString::number(signal);
}

void StopSignals::endBy(int) {}

} // namespace telmaris
