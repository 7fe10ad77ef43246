#pragma once
// The bridge between the program's CR LF text and the text document of an editor widget.
// The document keeps one block per line; a CR LF pair is its block break. A character that the
// document cannot hold as itself (a lone CR or LF, which the document would turn into a block
// break, and U+2029, U+FDD0 and U+FDD1, which it takes as block and frame marks) is held as a
// visible stand-in character whose character format records the original. A stand-in without
// that record is ordinary text, so no character of a script can be mistaken for a stand-in.
// Every character maps to exactly one document character except a CR LF pair, which is one
// block break; positions therefore convert by counting blocks.

#include <QString>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace telmaris {

// Replaces the cursor's selection by crlfText, as one undo step; the cursor ends behind it.
void insertCrlfText(QTextCursor &cursor, const QString &crlfText);
// Replaces the whole document by crlfText without an undo step.
void setDocumentCrlfText(QTextDocument *document, const QString &crlfText);
// The CR LF text of the document positions from..to.
QString documentCrlfText(const QTextDocument *document, int from, int to);
QString documentCrlfText(const QTextDocument *document);
// The CR LF text of one line.
QString blockCrlfText(const QTextBlock &block);

// Every kind of line break (CR LF, lone CR, lone LF, U+2028, U+2029) becomes one CR LF.
QString withCrlfLineBreaks(const QString &text);

// One replacement that turns one CR LF text into another: the characters from start on,
// removed of them, give way to inserted. Neither end touches a CR or LF, so a line break is
// always replaced whole and the document text of the pieces matches the document text of the
// whole.
struct TextChange {
    int start = 0;
    int removed = 0;
    QString inserted;
};
TextChange diffTexts(const QString &before, const QString &after);

} // namespace telmaris
