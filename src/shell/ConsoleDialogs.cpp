#include "shell/ConsoleDialogs.h"

#include <cstdio>

namespace telmaris {

void ConsoleDialogs::printLine(const QString &title, const QString &text) {
    // The program's name leads the line once; a box titled with the name alone adds nothing.
    const QString program = QStringLiteral("Telmaris");
    QString line = program + QStringLiteral(": ");
    if (title != program)
        line += title + QStringLiteral(": ");
    line += text;
    // One box, one line: a scheduled job's log reads line by line.
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void ConsoleDialogs::showMessage(MessageIcon, const QString &title, const QString &text) {
    printLine(title, text);
}

std::optional<QString> ConsoleDialogs::askText(const QString &title, const QString &prompt,
                                               const QString &) {
    // Nobody can type an answer; an unattended run refuses scripts with EINGABE beforehand.
    printLine(title, prompt);
    return std::nullopt;
}

} // namespace telmaris
