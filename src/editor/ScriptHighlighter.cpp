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
    if (marks.longCommand.length > 0) {
        // Runs all the same: only a wave under the argument, in the colour of a warning,
        // placeholders included.
        QTextCharFormat longCommand;
        longCommand.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        longCommand.setUnderlineColor(QColor(0xc6, 0x6a, 0x00));
        setFormat(marks.longCommand.start, marks.longCommand.length, longCommand);
        placeholder = longCommand;
    }
    placeholder.setForeground(QColor(0xb0, 0x4a, 0x00));
    placeholder.setFontItalic(true);
    for (const Span &span : marks.placeholders)
        setFormat(span.start, span.length, placeholder);
    if (!marks.skipReason.isEmpty()) {
        // Seen at a glance: the whole line on a red ground, the word that makes it be skipped
        // white on strong red with the wave under it.
        QTextCharFormat line;
        line.setBackground(QColor(0xf6, 0xb8, 0xb8));
        setFormat(0, int(currentBlock().length()) - 1, line);
        QTextCharFormat skipped;
        skipped.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        skipped.setUnderlineColor(QColor(0x7a, 0x00, 0x0c));
        skipped.setBackground(QColor(0xc0, 0x1c, 0x28));
        skipped.setForeground(Qt::white);
        skipped.setFontWeight(QFont::Bold);
        setFormat(marks.skipped.start, marks.skipped.length, skipped);
    }
}

} // namespace telmaris
