#include "shell/StartUp.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "shell/CommandLine.h"

#include <QtGlobal>
#include <cstdio>

namespace telmaris {

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

StartPlan PlanStart(const QString &argument) {
    StartPlan plan;
    plan.display = DisplayReachable();
    if (plan.display)
        return plan;
    if (WantsWindow(argument)) {
        std::fputs(qPrintable(texts::NoDisplayLine + u'\n'), stderr);
        plan.exitStatus = ExitNoDisplay;
        return plan;
    }
    // Everything else is an AutoMode start or an unknown parameter; both need no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return plan;
}

} // namespace telmaris
