#pragma once
// The trace lines of the modem dialogue: the time of day in the system's time format, then
// what was sent, received or how the wait ended.

#include <QString>
#include <QTime>

namespace telmaris {

// The time of day as the system shows times with seconds (its long format without a time zone).
QString traceTime(const QTime &time);

// A trace line: the time, the label and the text in quotation marks.
QString traceLine(const QTime &time, const QString &label, const QString &text);

// The modem let the answer time limit of an unattended run pass.
QString answerTimeOverText(int seconds);

} // namespace telmaris
