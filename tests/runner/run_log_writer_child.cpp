// Test helper: one copy of the program logging many answer lines to the run log of
// XDG_STATE_HOME. It says "ready" and waits for a line on standard input, so that several
// copies can be let go at the same moment.
//   run_log_writer_child <tag> <count>
#include "runner/RunLog.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString tag = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    std::puts("ready");
    std::fflush(stdout);
    char go[8];
    if (!std::fgets(go, sizeof go, stdin))
        return 2;
    telmaris::RunLog log;
    const QString padding(64, u'x');
    for (int n = 0; n < count; ++n)
        log.received(QStringLiteral("%1 %2 ").arg(tag).arg(n) + padding);
    return log.takeFailure() ? 1 : 0;
}
