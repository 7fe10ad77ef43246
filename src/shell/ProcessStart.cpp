#include "shell/ProcessStart.h"

#include <QCoreApplication>
#include <QStringList>

namespace telmaris {

QString beginProcess(int argc, const char *const *argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Telmaris"));
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments.join(u' ');
}

} // namespace telmaris
