// Test helper: says why a device cannot be opened, as the user who runs it.
//   diagnose_child <device>
#include "ports/PortDiagnosis.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString reason = telmaris::diagnosePort(QString::fromLocal8Bit(argv[1]), QString());
    std::fputs(reason.toUtf8().constData(), stdout);
    return 0;
}
