#include "shell/StartUp.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "shell/CommandLine.h"

#include <QtGlobal>
#include <cstdio>

namespace telmaris {

bool displayReachable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

bool wantsWindow(const QString &argument) {
    const QString parameter = trimBlanks(argument).toLower();
    return parameter.isEmpty() || parameter == QStringLiteral("debug");
}

StartPlan planStart(const QString &argument) {
    StartPlan plan;
    plan.display = displayReachable();
    if (plan.display)
        return plan;
    if (wantsWindow(argument)) {
        std::fputs(qPrintable(texts::NoDisplayLine + u'\n'), stderr);
        plan.exitStatus = ExitNoDisplay;
        return plan;
    }
    // Everything else is an AutoMode start or an unknown parameter; both need no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return plan;
}

} // namespace telmaris
