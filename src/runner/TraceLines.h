#pragma once
// The trace lines of the modem dialogue: the time of day in the system's time format, then
// what was sent, received or how the wait ended.

#include <QString>
#include <QTime>

namespace telmaris {

// The time of day as the system shows times with seconds (its long format without a time zone).
QString traceTime(const QTime &time);

QString skriptLineTrace(const QTime &time, const QString &command); // command with its CR
QString rcvStringTrace(const QTime &time, const QString &line);
QString errOccuredTrace(const QTime &time, bool errOccured);
// The modem let the answer time limit of an unattended run pass: the words, and the trace line.
QString answerTimeOverText(int seconds);
QString answerTimeOverTrace(const QTime &time, int seconds);

} // namespace telmaris
