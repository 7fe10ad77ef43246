#include "SimulatorLog.h"

#include <QFile>

namespace telmaris::test {

QList<QByteArray> simulatorCommands(const QString &logPath) {
    // Each line: "yyyy-MM-dd HH:mm:ss.zzz " and the command.
    constexpr int StampLength = 24;
    QFile log(logPath);
    QList<QByteArray> result;
    if (log.open(QIODevice::ReadOnly))
        for (const QByteArray &line : log.readAll().split('\n'))
            if (line.size() >= StampLength)
                result << line.mid(StampLength);
    return result;
}

} // namespace telmaris::test
