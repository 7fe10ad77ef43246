#include "shell/StartUp.h"

#include "common/Numbers.h"
#include "shell/CommandLine.h"

#include <QStringList>
#include <QtGlobal>
#include <cstdio>

namespace telmaris {

namespace {

const char NoDisplayMessage[] =
    "Telmaris: Das Programmfenster braucht eine grafische Oberfl\u00e4che, und hier ist keine "
    "erreichbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt). Ohne Bildschirm l\u00e4uft "
    "nur der AutoMode: telmaris Skriptnummer oder Skriptname.\n";

} // namespace

bool DisplayReachable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

bool WantsWindow(const QString &argument) {
    const QString parameter = TrimBlanks(argument).toLower();
    return parameter.isEmpty() || parameter == QStringLiteral("debug");
}

StartPlan PlanStart(int argc, char *argv[]) {
    StartPlan plan;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    plan.argument = arguments.join(u' ');
    plan.display = DisplayReachable();
    if (plan.display)
        return plan;
    if (WantsWindow(plan.argument)) {
        std::fputs(NoDisplayMessage, stderr);
        plan.exitStatus = ExitNoDisplay;
        return plan;
    }
    // Everything else is an AutoMode start or an unknown parameter; both need no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return plan;
}

} // namespace telmaris
