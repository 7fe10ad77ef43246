#include "runner/ModemVerdict.h"

#include "common/UserTexts.h"

#include <algorithm>

namespace telmaris {

namespace {

// "„ATI“" or "„ATI“ und „ATI3“".
QString quotedList(const QStringList &commands) {
    QStringList quoted;
    for (const QString &command : commands)
        quoted << QString::fromUtf8("„%1“").arg(command);
    return quoted.join(QStringLiteral(" und "));
}

} // namespace

QString modemVerdict(const QList<QueryStep> &steps, const QString &openError, const QString &port,
                     int baud) {
    if (!openError.isEmpty())
        return texts::ModemTestNotOpened.arg(openError);
    if (steps.isEmpty())
        return texts::ModemTestSilent; // not reached: an open port is always asked
    QStringList lines;
    // A line that vanished at any step outweighs what came before it.
    const bool lost = std::any_of(steps.begin(), steps.end(), [](const QueryStep &step) {
        return step.outcome == QueryOutcome::LineLost;
    });
    switch (lost ? QueryOutcome::LineLost : steps.first().outcome) {
    case QueryOutcome::Ok: {
        lines << texts::ModemTestAnswered;
        QStringList refused;
        QStringList missing;
        for (qsizetype i = 1; i < steps.size(); ++i) {
            if (steps[i].outcome == QueryOutcome::Error)
                refused << steps[i].command;
            else if (steps[i].outcome != QueryOutcome::Ok)
                missing << steps[i].command;
        }
        if (!refused.isEmpty())
            lines << texts::ModemTestInfoError.arg(quotedList(refused));
        if (!missing.isEmpty())
            lines << texts::ModemTestInfoMissing.arg(quotedList(missing));
        break;
    }
    case QueryOutcome::Error:
        lines << texts::ModemTestRejected;
        break;
    case QueryOutcome::NoAnswer:
        lines << texts::ModemTestSilent << texts::ModemTestCheckPower << texts::ModemTestCheckCable
              << texts::ModemTestCheckPort.arg(port) << texts::ModemTestCheckSpeed.arg(baud)
              << texts::ModemTestCheckQuiet;
        break;
    case QueryOutcome::Unfinished:
        lines << texts::ModemTestGarbled << texts::ModemTestCheckVerbose
              << texts::ModemTestCheckSpeed.arg(baud);
        break;
    case QueryOutcome::LineLost:
        lines << texts::ModemTestLost << texts::ModemTestCheckPower << texts::ModemTestCheckCable;
        break;
    }
    return lines.join(u'\n');
}

QString unfinishedStepLine(QueryOutcome outcome) {
    switch (outcome) {
    case QueryOutcome::NoAnswer:
        return texts::ModemTestNoAnswerLine;
    case QueryOutcome::Unfinished:
        return texts::ModemTestUnfinishedLine;
    case QueryOutcome::LineLost:
        return texts::ModemTestLineLostLine;
    default:
        return {};
    }
}

} // namespace telmaris
