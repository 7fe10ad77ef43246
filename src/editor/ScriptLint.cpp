#include "editor/ScriptLint.h"

#include "common/UserTexts.h"
#include "language/ScriptLanguage.h"

#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace telmaris {

namespace {

const QString Skipped = QStringLiteral("Diese Zeile wird \u00fcbersprungen: ");

bool isKeyword(const QString &word) {
    return keywordOf(word) != Keyword::None;
}

// The keyword that word is written like, apart from letter case; empty when none.
QString keywordIgnoringCase(const QString &word) {
    const QString upper = word.toUpper();
    for (const QString &keyword : scriptKeywords()) {
        if (keyword == upper)
            return keyword;
    }
    return {};
}

// Edits between two words, counting a swap of two neighbouring letters as one edit
// ("PAUES" is one edit away from "PAUSE").
int editDistance(const QString &a, const QString &b) {
    const int n = int(a.size());
    const int m = int(b.size());
    std::vector<std::vector<int>> dist(n + 1, std::vector<int>(m + 1));
    for (int i = 0; i <= n; ++i)
        dist[i][0] = i;
    for (int j = 0; j <= m; ++j)
        dist[0][j] = j;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            dist[i][j] =
                std::min({dist[i - 1][j] + 1, dist[i][j - 1] + 1, dist[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                dist[i][j] = std::min(dist[i][j], dist[i - 2][j - 2] + 1);
        }
    }
    return dist[n][m];
}

bool isAllLetters(const QString &word) {
    return !word.isEmpty() &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

// The keyword a misspelt word was most likely meant to be: one edit away, ignoring case.
// Only words made of letters count, so remarks and separator lines stay unmarked.
QString nearKeyword(const QString &word) {
    if (!isAllLetters(word))
        return {};
    const QString upper = word.toUpper();
    QString umlaut = upper; // "WAEHLE" for "WÄHLE"
    umlaut.replace(QStringLiteral("AE"), QStringLiteral("\u00c4"));
    for (const QString &keyword : scriptKeywords()) {
        if (editDistance(upper, keyword) == 1 || umlaut == keyword)
            return keyword;
    }
    return {};
}

// What may follow a keyword on a line that was meant to run it.
enum class ArgumentShape { Nothing, Seconds, DialString, ModemCommand, Text };

ArgumentShape shapeOf(Keyword keyword) {
    switch (keyword) {
    case Keyword::Pause:
        return ArgumentShape::Seconds;
    case Keyword::Waehle:
        return ArgumentShape::DialString;
    case Keyword::Modem:
        return ArgumentShape::ModemCommand;
    case Keyword::Hinweis:
    case Keyword::Dialog:
    case Keyword::Eingabe:
        return ArgumentShape::Text;
    default:
        return ArgumentShape::Nothing; // AUFLEGEN, ERDTASTE, FLASH, TONWAHL, IMPULSWAHL
    }
}

// A number of seconds, perhaps with its unit: "5", "2.5", "10 Sekunden", "3 s".
bool isSeconds(const QString &argument) {
    static const QRegularExpression seconds(
        QStringLiteral("^[+-]?\\d+([.,]\\d+)?(\\s*(s|sek\\.?|sekunden?))?$"),
        QRegularExpression::CaseInsensitiveOption);
    return seconds.match(argument).hasMatch();
}

// Digits and the characters a modem dials ("*", "#", "!" flash, "," and "W" waits, "P" and
// "T" switch the method), or the placeholder for typed digits.
bool isDialString(const QString &argument) {
    static const QRegularExpression dial(
        QStringLiteral("^([0-9*#!,;@+/()\\- ABCDPTW]|%EINGABE%)*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dials(QStringLiteral("[0-9*#!]|%EINGABE%"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression words(QStringLiteral("[A-Za-z]{2,}"));
    const QString withoutPlaceholder =
        QString(argument).remove(QStringLiteral("%EINGABE%"), Qt::CaseInsensitive);
    return dial.match(argument).hasMatch() && dials.match(argument).hasMatch() &&
           !words.match(withoutPlaceholder).hasMatch();
}

// How German writes an ordinary noun at the start of a sentence: "Hinweis", "Eingabe".
bool isWrittenAsNoun(const QString &word) {
    return word.size() > 1 && word.at(0).isUpper() && word.mid(1) == word.mid(1).toLower();
}

// Whether a line whose first word is written like keyword looks meant to run it rather than
// be a remark: nothing follows the word, or an argument of the keyword's shape. A message
// keyword written as an ordinary noun begins a sentence ("Hinweise zur Anlage"), not a command.
bool looksLikeCommand(const QString &keyword, const QString &word, const QString &argument) {
    const ArgumentShape shape = shapeOf(keywordOf(keyword));
    if (shape == ArgumentShape::Text)
        return !isWrittenAsNoun(word);
    if (argument.isEmpty())
        return true;
    switch (shape) {
    case ArgumentShape::Seconds:
        return isSeconds(argument);
    case ArgumentShape::DialString:
        return isDialString(argument);
    case ArgumentShape::ModemCommand:
        return argument.startsWith(QStringLiteral("AT"), Qt::CaseInsensitive);
    case ArgumentShape::Nothing:
    case ArgumentShape::Text:
        break;
    }
    return false;
}

QString quoted(const QString &text) {
    return u'\u201e' + text + u'\u201c';
}

// A line as one line of a message: a lone CR or LF in it would break the box's line.
QString oneLine(const QString &text) {
    return QString(text).replace(u'\r', u' ').replace(u'\n', u' ');
}

// A line that sends a command longer than many modems take: its argument is marked. The
// pulse or tone setting does not change the length ("ATDP" and "ATDT").
void markLongCommand(const QString &line, int keywordEnd, int last, LineMarks &marks) {
    const std::optional<QString> command = sentCommand(readScriptLine(line, QString()), false);
    if (!command)
        return;
    const int length = modemCommandLength(*command);
    if (length <= LongestModemCommand)
        return;
    marks.longCommand = {keywordEnd + 1, last - keywordEnd - 1};
    marks.longCommandReason = texts::LongCommandReason.arg(length);
}

} // namespace

LineMarks checkScriptLine(const QString &line) {
    LineMarks marks;
    int first = 0;
    int last = int(line.size());
    while (first < last && line.at(first) == u' ')
        ++first;
    while (last > first && line.at(last - 1) == u' ')
        --last;
    if (first == last)
        return marks;

    const int blank = int(line.indexOf(u' ', first));
    const int keywordEnd = blank < 0 || blank > last ? last : blank;
    const QString keyword = line.mid(first, keywordEnd - first);

    if (isKeyword(keyword)) {
        marks.keyword = {first, int(keyword.size())};
        const QString placeholder = QStringLiteral("%EINGABE%");
        for (qsizetype at = line.indexOf(placeholder, keywordEnd, Qt::CaseInsensitive);
             at >= 0 && at + placeholder.size() <= last;
             at = line.indexOf(placeholder, at + placeholder.size(), Qt::CaseInsensitive)) {
            marks.placeholders.append({int(at), int(placeholder.size())});
        }
        markLongCommand(line, keywordEnd, last, marks);
        return marks;
    }

    // The word the writer may have meant as a keyword: behind leading tabs, up to a blank or
    // a tab; the argument is what follows it.
    int wordStart = first;
    while (wordStart < last && line.at(wordStart) == u'\t')
        ++wordStart;
    int wordEnd = wordStart;
    while (wordEnd < last && line.at(wordEnd) != u' ' && line.at(wordEnd) != u'\t')
        ++wordEnd;
    const QString word = line.mid(wordStart, wordEnd - wordStart);
    const QString argument = line.mid(wordEnd, last - wordEnd).trimmed();
    const QString inCapitals = keywordIgnoringCase(word);
    const QString meant = inCapitals.isEmpty() ? nearKeyword(word) : inCapitals;
    if (meant.isEmpty() || !looksLikeCommand(meant, word, argument))
        return marks;

    marks.skipped = {first, int(keyword.size())};
    const bool tabAfter = wordEnd < last && line.at(wordEnd) == u'\t';
    if (wordStart > first) {
        marks.skipReason = Skipped + QStringLiteral("Vor dem Schl\u00fcsselwort darf kein "
                                                    "Tabulator stehen, nur Leerzeichen.");
    } else if (tabAfter && isKeyword(word)) {
        marks.skipReason = Skipped + QStringLiteral("Hinter dem Schl\u00fcsselwort muss ein "
                                                    "Leerzeichen stehen, kein Tabulator.");
    } else if (tabAfter && !inCapitals.isEmpty()) {
        marks.skipReason =
            Skipped + QStringLiteral("Schl\u00fcsselw\u00f6rter m\u00fcssen in "
                                     "Gro\u00dfbuchstaben geschrieben werden, und hinter "
                                     "dem Schl\u00fcsselwort muss ein Leerzeichen stehen, "
                                     "kein Tabulator.");
    } else if (!inCapitals.isEmpty()) {
        marks.skipReason = Skipped + QStringLiteral("Schl\u00fcsselw\u00f6rter m\u00fcssen in "
                                                    "Gro\u00dfbuchstaben geschrieben werden.");
    } else {
        marks.skipReason = Skipped + quoted(word) +
                           QStringLiteral(" ist kein Schl\u00fcsselwort. Gemeint ist wohl ") +
                           quoted(meant) + u'.';
    }
    return marks;
}

QList<MarkedLine> markedLines(const QString &scriptText) {
    QList<MarkedLine> marked;
    int number = 0;
    for (const ScriptLineRange &range : splitScriptLines(scriptText)) {
        ++number;
        const QString line = scriptText.mid(range.start, range.length);
        const LineMarks marks = checkScriptLine(line);
        if (!marks.skipReason.isEmpty())
            marked.append({number, line, marks.skipReason});
    }
    return marked;
}

QString markedLinesQuestion(const QList<MarkedLine> &lines) {
    QStringList entries;
    for (const MarkedLine &line : lines)
        entries << texts::MarkedLineEntry.arg(QString::number(line.number), oneLine(line.text));
    return texts::MarkedLinesQuestion.arg(entries.join(u'\r'));
}

QString markedLineWarning(int slot, const MarkedLine &line) {
    return texts::MarkedLineWarning.arg(QString::number(slot), QString::number(line.number),
                                        oneLine(line.text));
}

} // namespace telmaris
