#pragma once
// The commands that the simulator program logged (its --log file), in the order received.

#include <QByteArray>
#include <QList>
#include <QString>

namespace telmaris::test {

// Each command without its CR and without the time stamp that leads its line; none when the
// file is not there (yet).
QList<QByteArray> simulatorCommands(const QString &logPath);

} // namespace telmaris::test
