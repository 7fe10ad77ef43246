#include "editor/DocumentText.h"

#include <algorithm>

namespace telmaris {

namespace {

bool IsBreakChar(QChar c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

QString ToDocumentText(const QString &crlfText) {
    QString out;
    out.reserve(crlfText.size());
    const qsizetype size = crlfText.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = crlfText.at(i);
        if (c == u'\r' && i + 1 < size && crlfText.at(i + 1) == u'\n') {
            out += QChar::ParagraphSeparator;
            ++i;
        } else if (c == u'\r') {
            out += QChar(kLoneCr);
        } else if (c == u'\n') {
            out += QChar(kLoneLf);
        } else {
            out += c;
        }
    }
    return out;
}

QString FromDocumentText(const QString &documentText) {
    QString out;
    out.reserve(documentText.size() + documentText.size() / 16);
    for (const QChar c : documentText) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
            out += QStringLiteral("\r\n");
            break;
        case kLoneCr:
            out += u'\r';
            break;
        case kLoneLf:
            out += u'\n';
            break;
        default:
            out += c;
        }
    }
    return out;
}

TextChange DiffTexts(const QString &before, const QString &after) {
    const int common = int(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < common && before.at(prefix) == after.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < common - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    while (prefix > 0 && IsBreakChar(before.at(prefix - 1)))
        --prefix;
    while (suffix > 0 && IsBreakChar(before.at(before.size() - suffix)))
        --suffix;
    TextChange change;
    change.start = prefix;
    change.removed = int(before.size()) - prefix - suffix;
    change.inserted = after.mid(prefix, after.size() - prefix - suffix);
    return change;
}

} // namespace telmaris
