#include "editor/DocumentText.h"

#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace telmaris {

namespace {

// The character format property that marks a stand-in and holds the character it stands for.
constexpr int StandsFor = QTextFormat::UserProperty + 0x7e1;

bool isBreakChar(QChar c) {
    return c == u'\r' || c == u'\n';
}

bool needsStandIn(QChar c) {
    return isBreakChar(c) || c == QChar::ParagraphSeparator || c == u'\xFDD0' || c == u'\xFDD1';
}

// What the user sees in place of the character: the control pictures for CR and LF, else the
// replacement character.
QChar standInFor(QChar original) {
    switch (original.unicode()) {
    case u'\r':
        return QChar(0x240D);
    case u'\n':
        return QChar(0x240A);
    default:
        return QChar::ReplacementCharacter;
    }
}

struct StandIn {
    int position; // in the document text
    QChar original;
};

// The document text of CR LF text, with the stand-ins it holds.
QString toDocumentText(const QString &crlfText, QList<StandIn> &standIns) {
    QString out;
    out.reserve(crlfText.size());
    const qsizetype size = crlfText.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = crlfText.at(i);
        if (c == u'\r' && i + 1 < size && crlfText.at(i + 1) == u'\n') {
            out += QChar::ParagraphSeparator;
            ++i;
        } else if (needsStandIn(c)) {
            standIns.append({int(out.size()), c});
            out += standInFor(c);
        } else {
            out += c;
        }
    }
    return out;
}

void markStandIns(QTextDocument *document, int offset, const QList<StandIn> &standIns) {
    QTextCursor cursor(document);
    for (const StandIn &standIn : standIns) {
        QTextCharFormat format;
        format.setProperty(StandsFor, int(standIn.original.unicode()));
        cursor.setPosition(offset + standIn.position);
        cursor.setPosition(offset + standIn.position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

void appendFragment(QString &out, const QString &text, const QTextCharFormat &format) {
    if (!format.hasProperty(StandsFor)) {
        out += text;
        return;
    }
    // Text typed right behind a stand-in may share its format; only the stand-in itself counts.
    const QChar original(char16_t(format.intProperty(StandsFor)));
    const QChar standIn = standInFor(original);
    for (const QChar c : text)
        out += c == standIn ? original : c;
}

// The slow road, taken only when the text holds a character that may be a stand-in: the
// fragments of the document carry the formats that tell stand-ins from ordinary text.
QString crlfTextOfFragments(const QTextDocument *document, int from, int to) {
    QString out;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start < end)
                appendFragment(out, fragment.text().mid(start - fragment.position(), end - start),
                               fragment.charFormat());
        }
        const int breakPosition = block.position() + block.length() - 1;
        if (breakPosition >= from && breakPosition < to && block.next().isValid())
            out += QStringLiteral("\r\n");
    }
    return out;
}

bool mayHoldStandIns(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == standInFor(u'\r') || c == standInFor(u'\n') ||
               c == standInFor(QChar::ParagraphSeparator);
    });
}

} // namespace

void insertCrlfText(QTextCursor &cursor, const QString &crlfText) {
    QList<StandIn> standIns;
    const QString text = toDocumentText(crlfText, standIns);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const int start = cursor.position();
    cursor.insertText(text, QTextCharFormat()); // never the format of a stand-in before it
    markStandIns(cursor.document(), start, standIns);
    cursor.endEditBlock();
}

void setDocumentCrlfText(QTextDocument *document, const QString &crlfText) {
    QList<StandIn> standIns;
    document->setPlainText(toDocumentText(crlfText, standIns));
    if (standIns.isEmpty())
        return;
    document->setUndoRedoEnabled(false); // loading is no step to undo
    markStandIns(document, 0, standIns);
    document->setUndoRedoEnabled(true);
}

QString documentCrlfText(const QTextDocument *document, int from, int to) {
    const QString raw = document->toRawText();
    from = std::clamp(from, 0, int(raw.size()));
    to = std::clamp(to, from, int(raw.size()));
    const QStringView range = QStringView(raw).mid(from, to - from);
    if (mayHoldStandIns(range))
        return crlfTextOfFragments(document, from, to);
    QString out;
    out.reserve(range.size() + range.size() / 16);
    for (const QChar c : range) {
        if (c == QChar::ParagraphSeparator)
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
}

QString documentCrlfText(const QTextDocument *document) {
    return documentCrlfText(document, 0, document->characterCount() - 1);
}

QString blockCrlfText(const QTextBlock &block) {
    QString text = block.text();
    if (!mayHoldStandIns(text))
        return text;
    return crlfTextOfFragments(block.document(), block.position(),
                               block.position() + int(text.size()));
}

QString withCrlfLineBreaks(const QString &text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            out += QStringLiteral("\r\n");
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

TextChange diffTexts(const QString &before, const QString &after) {
    const int common = int(std::min(before.size(), after.size()));
    int prefix = 0;
    while (prefix < common && before.at(prefix) == after.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < common - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    while (prefix > 0 && isBreakChar(before.at(prefix - 1)))
        --prefix;
    while (suffix > 0 && isBreakChar(before.at(before.size() - suffix)))
        --suffix;
    TextChange change;
    change.start = prefix;
    change.removed = int(before.size()) - prefix - suffix;
    change.inserted = after.mid(prefix, after.size() - prefix - suffix);
    return change;
}

} // namespace telmaris
