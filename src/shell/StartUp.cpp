#include "shell/StartUp.h"

#include "common/ConsoleText.h"
#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "shell/CommandLine.h"
#include "shell/InfoOptions.h"

#include <QtGlobal>

namespace telmaris {

namespace {

// Drops the toolkit's notes (a missing XDG_RUNTIME_DIR, the offscreen platform's remarks):
// a scheduled job mails every line on standard error. A fatal message still shows before
// the toolkit ends the process.
void dropToolkitNote(QtMsgType type, const QMessageLogContext &, const QString &message) {
    if (type == QtFatalMsg)
        printErrorLine(message);
}

} // namespace

bool wantsWindow(const QString &argument) {
    return trimBlanks(argument).isEmpty() || asksForTrace(argument);
}

StartPlan planStart(const QString &argument, const std::function<QString()> &programFolder) {
    StartPlan plan;
    // Only trace mode shows what the toolkit has to say.
    if (!asksForTrace(argument))
        qInstallMessageHandler(dropToolkitNote);
    // Printed answers need no window system, wherever they are asked for.
    if (const InfoOption info = infoOptionOf(argument); info != InfoOption::None) {
        plan.exitStatus = printInfo(info, programFolder);
        return plan;
    }
    const std::optional<QString> missing = missingDisplay();
    plan.display = !missing;
    if (plan.display)
        return plan;
    if (wantsWindow(argument)) {
        printErrorLine(*missing);
        plan.exitStatus = ExitNoDisplay;
        return plan;
    }
    // Everything else is an AutoMode start or an unknown parameter; both need no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return plan;
}

} // namespace telmaris
