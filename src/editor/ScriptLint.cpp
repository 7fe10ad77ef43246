#include "editor/ScriptLint.h"

#include <algorithm>
#include <vector>

namespace telmaris {

namespace {

const QString kSkipped = QStringLiteral("Diese Zeile wird \u00fcbersprungen: ");

bool IsKeyword(const QString &word) {
    return ScriptKeywords().contains(word);
}

// The keyword that word is written like, apart from letter case; empty when none.
QString KeywordIgnoringCase(const QString &word) {
    const QString upper = word.toUpper();
    for (const QString &keyword : ScriptKeywords()) {
        if (keyword == upper)
            return keyword;
    }
    return {};
}

// Edits between two words, counting a swap of two neighbouring letters as one edit
// ("PAUES" is one edit away from "PAUSE").
int EditDistance(const QString &a, const QString &b) {
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

bool IsAllLetters(const QString &word) {
    return !word.isEmpty() &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

// The keyword a misspelt word was most likely meant to be: one edit away, ignoring case.
// Only words made of letters count, so remarks and separator lines stay unmarked.
QString NearKeyword(const QString &word) {
    if (!IsAllLetters(word))
        return {};
    const QString upper = word.toUpper();
    QString umlaut = upper; // "WAEHLE" for "WÄHLE"
    umlaut.replace(QStringLiteral("AE"), QStringLiteral("\u00c4"));
    for (const QString &keyword : ScriptKeywords()) {
        if (EditDistance(upper, keyword) == 1 || umlaut == keyword)
            return keyword;
    }
    return {};
}

QString Quoted(const QString &text) {
    return u'\u201e' + text + u'\u201c';
}

} // namespace

const QStringList &ScriptKeywords() {
    static const QStringList keywords{
        QStringLiteral("AUFLEGEN"),   QStringLiteral("DIALOG"),    QStringLiteral("EINGABE"),
        QStringLiteral("ERDTASTE"),   QStringLiteral("FLASH"),     QStringLiteral("HINWEIS"),
        QStringLiteral("IMPULSWAHL"), QStringLiteral("MODEM"),     QStringLiteral("PAUSE"),
        QStringLiteral("TONWAHL"),    QStringLiteral("W\u00c4HLE")};
    return keywords;
}

LineMarks CheckScriptLine(const QString &line) {
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

    if (IsKeyword(keyword)) {
        marks.keyword = {first, int(keyword.size())};
        const QString placeholder = QStringLiteral("%EINGABE%");
        for (qsizetype at = line.indexOf(placeholder, keywordEnd, Qt::CaseInsensitive);
             at >= 0 && at + placeholder.size() <= last;
             at = line.indexOf(placeholder, at + placeholder.size(), Qt::CaseInsensitive)) {
            marks.placeholders.append({int(at), int(placeholder.size())});
        }
        return marks;
    }

    marks.skipped = {first, int(keyword.size())};
    const int tab = int(keyword.indexOf(u'\t'));
    if (tab == 0) {
        QString rest = keyword;
        while (rest.startsWith(u'\t'))
            rest.remove(0, 1);
        const QString word = rest.section(u'\t', 0, 0);
        if (!KeywordIgnoringCase(word).isEmpty() || !NearKeyword(word).isEmpty()) {
            marks.skipReason = kSkipped + QStringLiteral("Vor dem Schl\u00fcsselwort darf kein "
                                                         "Tabulator stehen, nur Leerzeichen.");
            return marks;
        }
    } else if (tab > 0) {
        const QString word = keyword.left(tab);
        if (IsKeyword(word)) {
            marks.skipReason = kSkipped + QStringLiteral("Hinter dem Schl\u00fcsselwort muss ein "
                                                         "Leerzeichen stehen, kein Tabulator.");
            return marks;
        }
        if (!KeywordIgnoringCase(word).isEmpty()) {
            marks.skipReason =
                kSkipped + QStringLiteral("Schl\u00fcsselw\u00f6rter m\u00fcssen in "
                                          "Gro\u00dfbuchstaben geschrieben werden, und hinter "
                                          "dem Schl\u00fcsselwort muss ein Leerzeichen stehen, "
                                          "kein Tabulator.");
            return marks;
        }
    }
    if (!KeywordIgnoringCase(keyword).isEmpty()) {
        marks.skipReason = kSkipped + QStringLiteral("Schl\u00fcsselw\u00f6rter m\u00fcssen in "
                                                     "Gro\u00dfbuchstaben geschrieben werden.");
        return marks;
    }
    const QString near = NearKeyword(keyword);
    if (!near.isEmpty()) {
        marks.skipReason = kSkipped + Quoted(keyword) +
                           QStringLiteral(" ist kein Schl\u00fcsselwort. Gemeint ist wohl ") +
                           Quoted(near) + u'.';
        return marks;
    }
    marks.skipped = {};
    return marks;
}

} // namespace telmaris
