#include "shell/CommandLine.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"

#include <cmath>

namespace telmaris {

namespace {

QString unknownParameterMessage(const QString &argument) {
    return texts::UnknownParameterMessage.arg(argument);
}

} // namespace

bool asksForTrace(const QString &argument) {
    return trimBlanks(argument).toLower() == QStringLiteral("debug");
}

CommandLineChoice resolveCommandLine(const QString &argument, const QStringList &tabCaptions) {
    CommandLineChoice choice;
    const QString parameter = trimBlanks(argument).toLower();
    if (asksForTrace(argument)) {
        choice.kind = CommandLineChoice::Trace;
        return choice;
    }
    if (parameter.isEmpty())
        return choice;

    // A name wins over a number: the first tab whose caption equals the parameter.
    const qsizetype tabs = qMin<qsizetype>(tabCaptions.size(), 100);
    for (qsizetype i = 0; i < tabs; ++i) {
        if (trimBlanks(tabCaptions.at(i)).toLower() == parameter) {
            choice.kind = CommandLineChoice::AutoMode;
            choice.slot = static_cast<int>(i + 1);
            return choice;
        }
    }

    const double slot = std::floor(readLeadingNumber(parameter));
    if (slot >= 1 && slot <= 100) {
        choice.kind = CommandLineChoice::AutoMode;
        choice.slot = static_cast<int>(slot);
        return choice;
    }
    choice.kind = CommandLineChoice::Unknown;
    choice.message = unknownParameterMessage(argument);
    return choice;
}

} // namespace telmaris
