#include "shell/ConsoleDialogs.h"

#include "common/ConsoleText.h"

#include <QRegularExpression>

namespace telmaris {

void ConsoleDialogs::printLine(const QString &title, const QString &text) {
    // The program's name leads the line once: a box titled with the name alone adds nothing, and
    // a title "Telmaris - <name>" adds its name only.
    const QString program = QStringLiteral("Telmaris");
    const QString namePrefix = program + QStringLiteral(" - ");
    QString line = program + QStringLiteral(": ");
    if (title.startsWith(namePrefix))
        line += title.mid(namePrefix.size()) + QStringLiteral(": ");
    else if (title != program)
        line += title + QStringLiteral(": ");
    line += text;
    // One box, one line: a scheduled job's log reads line by line. A break, with the blanks a
    // box text keeps around it, becomes one blank.
    static const QRegularExpression lineBreak(QStringLiteral("[ \\t]*[\\r\\n]+[ \\t]*"));
    line.replace(lineBreak, QStringLiteral(" "));
    printErrorLine(line);
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
