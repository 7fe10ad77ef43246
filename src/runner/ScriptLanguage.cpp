#include "runner/ScriptLanguage.h"

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
const std::array<std::pair<QString, Keyword>, 11> &KeywordTable() {
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

ScriptInstruction ReadScriptLine(const QString &line, const QString &eingabeText) {
    const QString trimmed = TrimBlanks(line);
    const qsizetype blank = trimmed.indexOf(u' ');
    const QString keyword = blank < 0 ? trimmed : trimmed.left(blank);
    ScriptInstruction instruction;
    if (blank >= 0) {
        instruction.argument = trimmed.mid(blank + 1);
        instruction.argument.replace(Placeholder, eingabeText, Qt::CaseInsensitive);
    }
    for (const auto &[word, kind] : KeywordTable()) {
        if (keyword == word) {
            instruction.keyword = kind;
            break;
        }
    }
    return instruction;
}

int PauseSeconds(const QString &argument) {
    // Values beyond the 16-bit range clamp like the others: huge to 60, very negative to 1.
    const double seconds = RoundHalfToEven(ReadLeadingNumberLenient(argument));
    return static_cast<int>(std::clamp(seconds, 1.0, 60.0));
}

QString AtCommand(const QString &body) {
    return QStringLiteral("AT") + body + CR;
}

QString HangUpCommand() {
    return QStringLiteral("ATH0\r");
}

QString FlashCommand() {
    return QStringLiteral("ATDT!;\r");
}

QString DialCommand(const QString &dialString, bool pulseDialing) {
    return QStringLiteral("AT") + (pulseDialing ? QStringLiteral("DP") : QStringLiteral("DT")) +
           dialString + u';' + CR;
}

QString ModemCommand(const QString &argument) {
    return argument + CR;
}

bool Sends(Keyword keyword) {
    switch (keyword) {
    case Keyword::Modem:
    case Keyword::Waehle:
    case Keyword::Auflegen:
    case Keyword::Flash:
    case Keyword::Erdtaste:
        return true;
    default:
        return false;
    }
}

int ScriptLineLength(const QString &text, int start) {
    // The runner appends a line break to the text before it searches, so the last line ends
    // at the end of the text.
    const qsizetype end = text.indexOf(LineBreak, start);
    return static_cast<int>((end < 0 ? text.size() : end) - start);
}

QList<ScriptLineRange> SplitScriptLines(const QString &text) {
    QList<ScriptLineRange> lines;
    int start = 0;
    do {
        const int length = ScriptLineLength(text, start);
        lines.append({start, length});
        start += length + 2;
    } while (start < text.size());
    return lines;
}

bool AsksForInput(const QString &scriptText) {
    for (const ScriptLineRange &line : SplitScriptLines(scriptText))
        if (ReadScriptLine(scriptText.mid(line.start, line.length), QString()).keyword ==
            Keyword::Eingabe)
            return true;
    return false;
}

} // namespace telmaris
