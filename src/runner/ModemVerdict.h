#pragma once
// The modem test's closing verdict in words: whether the modem answered, and if not what the
// user can check. Each paragraph is its own line.

#include "runner/ModemQuery.h"

#include <QString>

namespace telmaris {

// port: how the tested port is named to the user, e.g. "COM 1 (/dev/ttyACM0)".
QString modemVerdict(const QList<QueryStep> &steps, const QString &openError, const QString &port,
                     int baud);

// The line the dialog shows below a command when its answer did not end in a final answer.
QString unfinishedStepLine(QueryOutcome outcome);

} // namespace telmaris
