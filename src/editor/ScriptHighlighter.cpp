#include "editor/ScriptHighlighter.h"

#include "editor/DocumentText.h"
#include "editor/ScriptLint.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

namespace telmaris {

ScriptHighlighter::ScriptHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::highlightBlock(const QString & /*text*/) {
    // One block is one script line; its stand-ins are one character each, like the characters
    // they stand for, so the offsets agree.
    const LineMarks marks = checkScriptLine(blockCrlfText(currentBlock()));
    if (marks.keyword.length > 0) {
        QTextCharFormat keyword;
        keyword.setFontWeight(QFont::Bold);
        keyword.setForeground(QColor(0x1f, 0x4e, 0x9a));
        setFormat(marks.keyword.start, marks.keyword.length, keyword);
    }
    QTextCharFormat placeholder;
    placeholder.setForeground(QColor(0xb0, 0x4a, 0x00));
    placeholder.setFontItalic(true);
    for (const Span &span : marks.placeholders)
        setFormat(span.start, span.length, placeholder);
    if (!marks.skipReason.isEmpty()) {
        QTextCharFormat skipped;
        skipped.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        skipped.setUnderlineColor(QColor(0xe0, 0x1b, 0x24));
        skipped.setBackground(QColor(0xfd, 0xe8, 0xe8));
        setFormat(marks.skipped.start, marks.skipped.length, skipped);
    }
}

} // namespace telmaris
