// The editor box driven through real key events: what the user types, sees selected and finds
// on the clipboard, and when the window hears of a change.

#include "editor/ScriptEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

using telmaris::ScriptEdit;

namespace {

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}
void ctrlY(ScriptEdit &edit) {
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
}

// A text with "|" at the caret or "[...]" around the selection: the text, start and length.
std::tuple<QString, int, int> unmark(QString text) {
    const int caret = int(text.indexOf(u'|'));
    if (caret >= 0)
        return {text.remove(caret, 1), caret, 0};
    const int start = int(text.indexOf(u'['));
    const int end = int(text.indexOf(u']'));
    return {text.remove(end, 1).remove(start, 1), start, end - start - 1};
}

} // namespace

class TestScriptEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyAtTheCaret_data();
    void keyAtTheCaret();
    void shorthandCutAndLineBreaksAsTyped();
    void storedTextComesBackUnchanged_data();
    void storedTextComesBackUnchanged();
    void pastedLinesAreScriptLines_data();
    void pastedLinesAreScriptLines();
    void marksKeywordsAndSkippedLines();
};

// A space after a lone letter or separator character completes the keyword or draws the
// separator line (LineLen long); Ctrl+Y cuts the line under the caret, its CR LF with it.
void TestScriptEdit::keyAtTheCaret_data() {
    QTest::addColumn<bool>("cut"); // Ctrl+Y; else the space bar
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("lineLen");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboard"); // "?": left as it was
    const auto space = [](const char *name, const char *before, const QString &after,
                          int lineLen = 65) {
        QTest::newRow(name) << false << QString::fromUtf8(before) << lineLen << after << "?";
    };
    const auto cut = [](const char *name, const char *before, const char *after,
                        const char *clipboard) {
        QTest::newRow(name) << true << QString::fromUtf8(before) << 65 << QString::fromUtf8(after)
                            << QString::fromUtf8(clipboard);
    };
    space("caret at the start", "|e", " |e");
    space("lone e", "e|", "EINGABE |");
    space("x and e", "xe|", "xe |");
    space("letter after HINWEIS", "HINWEIS a|", "HINWEIS AUFLEGEN\r\n|");
    space("t after a PAUSE line", "PAUSE 5\r\nt|", "PAUSE 5\r\nTONWAHL\r\n|");
    space("lone d, DIALOG has none", "d|", "d |");
    space("dash on a new line, 65", "AUFLEGEN\r\n-|", "AUFLEGEN\r\n" + QString(65, u'-') + "\r\n|");
    space("star, LineLen 1", "*|", "*\r\n|", 1);
    space("hash, LineLen 120", "#|", QString(120, u'#') + "\r\n|", 120);
    space("underscore", "_|", "___\r\n|", 3);
    space("f before further lines", "f|\r\nPAUSE 1", "FLASH\r\n|\r\nPAUSE 1");
    space("m after a tab", "\tm|", "\tMODEM |");
    space("h", "h|", "HINWEIS |");
    space("text behind the caret stays", "p| 7", "PAUSE | 7");
    space("selection dropped, its text stays", "e[ abc]", "EINGABE | abc");
    cut("middle line", "abc\r\nd|ef\r\nghi", "abc\r\n|ghi", "def\r\n");
    cut("selection ignored", "abc\r\nd[ef\r\ngh]i", "abc\r\n|ghi", "def\r\n");
    cut("first line", "|abc\r\ndef\r\nghi", "|def\r\nghi", "abc\r\n");
    cut("last line, no break", "abc\r\ndef\r\ng|hi", "abc\r\ndef\r\n|", "ghi");
    cut("empty line", "abc\r\n|\r\ndef", "abc\r\n|def", "\r\n");
    cut("empty last line", "abc\r\n|", "abc\r\n|", "");
    cut("empty box", "|", "|", "");
    cut("a lone LF ends the search", "ab\nc|d\r\nef", "ab\n|ef", "cd\r\n");
    cut("umlauts", "WÄH|LE 1\r\nÜber", "|Über", "WÄHLE 1\r\n");
}

void TestScriptEdit::keyAtTheCaret() {
    QFETCH(bool, cut);
    QFETCH(QString, before);
    QFETCH(int, lineLen);
    QFETCH(QString, after);
    QFETCH(QString, clipboard);
    const auto [text, start, length] = unmark(before);
    ScriptEdit edit(false);
    edit.setLineLen(lineLen);
    edit.setCrlfText(text);
    edit.select(start, length);
    QGuiApplication::clipboard()->setText(QStringLiteral("?"));
    if (cut)
        ctrlY(edit);
    else
        QTest::keyClick(&edit, Qt::Key_Space);
    const auto [expected, caret, none] = unmark(after);
    QCOMPARE(edit.crlfText(), expected);
    QCOMPARE(edit.selStart(), caret);
    QCOMPARE(clipboardText(), clipboard);
}

// Every change reaches the window through edited(); moving the caret is none.
void TestScriptEdit::shorthandCutAndLineBreaksAsTyped() {
    ScriptEdit edit(false);
    QSignalSpy edited(&edit, &ScriptEdit::edited);
    QTest::keyClicks(&edit, QStringLiteral("t w 0815 "));
    QCOMPARE(edit.crlfText(), QStringLiteral("TONWAHL\r\nW\u00c4HLE 0815 "));
    // Shift+Enter breaks the line like Enter.
    edit.setCrlfText(QStringLiteral("abc\r\ndef\r\nghi"));
    edit.setCaret(7);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nde\r\nf\r\nghi"));
    edited.clear();
    ctrlY(edit);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nde\r\nghi"));
    QCOMPARE(edited.count(), 1);
    QTest::keyClick(&edit, Qt::Key_Home);
    edit.select(0, 3);
    QCOMPARE(edited.count(), 1);

    // Ctrl+Y is the cut, not the toolkit's redo: after an undo it cuts again.
    edit.undo();
    edit.setCaret(int(edit.crlfText().size()));
    ctrlY(edit);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nde\r\nf\r\n"));
    QCOMPARE(clipboardText(), QStringLiteral("ghi"));
    QCOMPARE(edited.count(), 3);

    // Alt with a letter is a button's shortcut, even that of a disabled button: never text.
    // AltGr (Ctrl+Alt on Windows) still types.
    QTest::keyClick(&edit, Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(&edit, Qt::Key_P, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Q, Qt::AltModifier | Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nde\r\nf\r\nq"));
}

// A stored text keeps every character through showing, typing anywhere in it and reading it
// back: umlauts and empty lines, lone CR and LF, characters the document takes as its own marks
// or stand-ins. Each line selects as itself, with its line break when asked.
void TestScriptEdit::storedTextComesBackUnchanged_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("umlauts and empty lines")
        << QStringLiteral("W\u00c4HLE 1\u00e4\u00f6\u00fc\r\n\r\nHINWEIS \u00dcbertragung\r\n"
                          "\r\n\r\nAUFLEGEN");
    QTest::newRow("lone CR and LF") << QStringLiteral("a\rb\nc\r\nd\r\r\n\ne");
    QTest::newRow("private use") << QStringLiteral("a\uE00Ab\uE00D\r\nc\uE00D\uE00A");
    QTest::newRow("document marks") << QStringLiteral("a\u2029b\uFDD0\r\n\uFDD1c\u2028d");
    QTest::newRow("stand-in lookalikes") << QStringLiteral("\u240D\r\u240A\n\uFFFD\u2029\uFFFD");
}

void TestScriptEdit::storedTextComesBackUnchanged() {
    QFETCH(QString, text);
    ScriptEdit edit(false);
    edit.setCrlfText(text);
    QCOMPARE(edit.crlfText(), text);
    QCOMPARE(edit.document()->blockCount(), int(text.count(QStringLiteral("\r\n"))) + 1);
    int start = 0;
    for (const QString &line : text.split(QStringLiteral("\r\n"))) {
        edit.select(start, int(line.size()));
        QCOMPARE(edit.selText(), line);
        QCOMPARE(edit.selStart(), start);
        QCOMPARE(edit.selLength(), int(line.size()));
        edit.select(start, int(line.size()) + 2);
        QCOMPARE(edit.selText(), text.mid(start, line.size() + 2));
        start += int(line.size()) + 2;
    }
    for (int position = 0; position <= text.size(); ++position) {
        if (text.mid(position - 1, 2) == QStringLiteral("\r\n"))
            continue; // no caret between CR and LF
        edit.setCrlfText(text);
        edit.setCaret(position);
        QCOMPARE(edit.selStart(), position);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(edit.crlfText(), QString(text).insert(position, u'x'));
    }
}

// Pasted text (dropped text takes the same way in) breaks its lines as script lines, whatever
// its own line breaks; copied text carries CR LF.
void TestScriptEdit::pastedLinesAreScriptLines_data() {
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc\rd\u2028e\u2029\r\nf\n")
                           << QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf\r\n");
    QTest::newRow("no break at the end")
        << QStringLiteral("\n\nPAUSE 2") << QStringLiteral("\r\n\r\nPAUSE 2");
}

void TestScriptEdit::pastedLinesAreScriptLines() {
    QFETCH(QString, incoming);
    QFETCH(QString, inserted);
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("X\rY"));
    edit.setCaret(2);
    QGuiApplication::clipboard()->setText(incoming);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("X\r") + inserted + QStringLiteral("Y"));
    QCOMPARE(edit.selStart(), 2 + int(inserted.size()));

    edit.select(0, 1000);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardText(), QStringLiteral("X\r") + inserted + QStringLiteral("Y"));
}

void TestScriptEdit::marksKeywordsAndSkippedLines() {
    ScriptEdit edit(false);
    edit.resize(400, 200);
    edit.setCrlfText(QStringLiteral("W\u00c4HLE %EINGABE%\r\nPAUES 5\r\nAnlage neu"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));

    // Only the misspelt line is marked, all of it on a coloured ground, the misspelt word with
    // the wave under it; a remark stays plain.
    const QTextBlock first = edit.document()->firstBlock();
    const QTextBlock second = first.next();
    QString marked;
    for (const QTextLayout::FormatRange &range : second.layout()->formats()) {
        QVERIFY(range.format.background().style() != Qt::NoBrush);
        marked += QString::number(range.length) +
                  (range.format.underlineStyle() == QTextCharFormat::WaveUnderline ? "~" : "_");
    }
    QCOMPARE(marked, QStringLiteral("5~2_"));
    QVERIFY(second.next().layout()->formats().isEmpty());

    // The tooltip over the skipped line says why; over the others there is none.
    auto pointOn = [&](const QTextBlock &block) {
        return edit.cursorRect(QTextCursor(block)).center() + QPoint(12, 0);
    };
    QHelpEvent help(QEvent::ToolTip, pointOn(second),
                    edit.viewport()->mapToGlobal(pointOn(second)));
    QApplication::sendEvent(edit.viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(),
             QStringLiteral("Diese Zeile wird \u00fcbersprungen: \u201ePAUES\u201c ist "
                            "kein Schl\u00fcsselwort. Gemeint ist wohl \u201ePAUSE\u201c."));
    QCOMPARE(edit.markReasonAt(pointOn(first)), QString());
}

QTEST_MAIN(TestScriptEdit)
#include "tst_scriptedit.moc"
