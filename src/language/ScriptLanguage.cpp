#include "language/ScriptLanguage.h"

#include "common/Numbers.h"

#include <algorithm>
#include <array>
#include <utility>

namespace telmaris {

namespace {

const QString Placeholder = QStringLiteral("%EINGABE%");
const QString LineBreak = QStringLiteral("\r\n");
constexpr QChar CR = u'\r';

// In the order the lines are compared; the first equal keyword wins.
const std::array<std::pair<QString, Keyword>, 11> &keywordTable() {
    static const std::array<std::pair<QString, Keyword>, 11> table{{
        {QStringLiteral("PAUSE"), Keyword::Pause},
        {QStringLiteral("TONWAHL"), Keyword::Tonwahl},
        {QStringLiteral("IMPULSWAHL"), Keyword::Impulswahl},
        {QStringLiteral("MODEM"), Keyword::Modem},
        {QStringLiteral("HINWEIS"), Keyword::Hinweis},
        {QStringLiteral("DIALOG"), Keyword::Dialog},
        {QStringLiteral("EINGABE"), Keyword::Eingabe},
        {QStringLiteral("W\u00c4HLE"), Keyword::Waehle},
        {QStringLiteral("AUFLEGEN"), Keyword::Auflegen},
        {QStringLiteral("FLASH"), Keyword::Flash},
        {QStringLiteral("ERDTASTE"), Keyword::Erdtaste},
    }};
    return table;
}

} // namespace

Keyword keywordOf(const QString &word) {
    for (const auto &[written, keyword] : keywordTable())
        if (word == written)
            return keyword;
    return Keyword::None;
}

const QStringList &scriptKeywords() {
    static const QStringList words = [] {
        QStringList list;
        for (const auto &entry : keywordTable())
            list.append(entry.first);
        return list;
    }();
    return words;
}

ScriptInstruction readScriptLine(const QString &line, const QString &eingabeText) {
    const QString trimmed = trimBlanks(line);
    const qsizetype blank = trimmed.indexOf(u' ');
    const QString keyword = blank < 0 ? trimmed : trimmed.left(blank);
    ScriptInstruction instruction;
    if (blank >= 0) {
        instruction.argument = trimmed.mid(blank + 1);
        instruction.argument.replace(Placeholder, eingabeText, Qt::CaseInsensitive);
    }
    instruction.keyword = keywordOf(keyword);
    return instruction;
}

QString eingabeAnswer(const QString &typed) {
    QString answer;
    answer.reserve(typed.size());
    for (const QChar c : typed)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            answer.append(c);
    return answer;
}

int pauseSeconds(const QString &argument) {
    // Values beyond the 16-bit range clamp like the others: huge to 60, very negative to 1.
    const double seconds = roundHalfToEven(readLeadingNumberLenient(argument));
    return static_cast<int>(std::clamp(seconds, 1.0, 60.0));
}

QString atCommand(const QString &body) {
    return QStringLiteral("AT") + body + CR;
}

QString hangUpCommand() {
    return QStringLiteral("ATH0\r");
}

QString flashCommand() {
    return QStringLiteral("ATDT!;\r");
}

QString dialCommand(const QString &dialString, bool pulseDialing) {
    return QStringLiteral("AT") + (pulseDialing ? QStringLiteral("DP") : QStringLiteral("DT")) +
           dialString + u';' + CR;
}

QString modemCommand(const QString &argument) {
    return argument + CR;
}

std::optional<QString> sentCommand(const ScriptInstruction &instruction, bool pulseDialing) {
    switch (instruction.keyword) {
    case Keyword::Modem:
        return modemCommand(instruction.argument);
    case Keyword::Waehle:
        return dialCommand(instruction.argument, pulseDialing);
    case Keyword::Auflegen:
        return hangUpCommand();
    case Keyword::Flash:
    case Keyword::Erdtaste:
        return flashCommand();
    default:
        return std::nullopt;
    }
}

int modemCommandLength(const QString &command) {
    return static_cast<int>(command.endsWith(CR) ? command.size() - 1 : command.size());
}

int scriptLineLength(const QString &text, int start) {
    // The runner appends a line break to the text before it searches, so the last line ends
    // at the end of the text.
    const qsizetype end = text.indexOf(LineBreak, start);
    return static_cast<int>((end < 0 ? text.size() : end) - start);
}

QList<ScriptLineRange> splitScriptLines(const QString &text) {
    QList<ScriptLineRange> lines;
    int start = 0;
    do {
        const int length = scriptLineLength(text, start);
        lines.append({start, length});
        start += length + 2;
    } while (start < text.size());
    return lines;
}

bool asksForInput(const QString &scriptText) {
    for (const ScriptLineRange &line : splitScriptLines(scriptText))
        if (readScriptLine(scriptText.mid(line.start, line.length), QString()).keyword ==
            Keyword::Eingabe)
            return true;
    return false;
}

} // namespace telmaris
