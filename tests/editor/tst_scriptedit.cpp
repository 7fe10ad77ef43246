// The editor box driven through real key events: what the user types, sees selected and finds
// on the clipboard, and when the window hears of a change.

#include "editor/ScriptEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

using telmaris::ScriptEdit;

namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}
void CtrlY(ScriptEdit &edit) {
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
}

} // namespace

class TestScriptEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shorthandAndLineBreaksAsTyped();
    void ctrlYCutsTheLineToTheClipboard();
    void editedOnEveryChange();
    void lockedBoxIgnoresShorthandAndCut();
    void positionsLandOnTheRightCharacters();
    void storedTextComesBackUnchanged_data();
    void storedTextComesBackUnchanged();
    void pastedAndDroppedLinesAreScriptLines_data();
    void pastedAndDroppedLinesAreScriptLines();
    void wrapModes();
    void marksKeywordsAndSkippedLines();
};

void TestScriptEdit::shorthandAndLineBreaksAsTyped() {
    ScriptEdit edit(false);
    edit.setLineLen(3);
    QTest::keyClicks(&edit, QStringLiteral("- t w 0815 xe "));
    QCOMPARE(edit.crlfText(), QStringLiteral("---\r\nTONWAHL\r\nW\u00c4HLE 0815 xe "));
    QCOMPARE(edit.selStart(), 28);
    // Shift+Enter breaks the line like Enter.
    edit.setCrlfText(QString());
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("e "));
    QCOMPARE(edit.crlfText(), QStringLiteral("ab\r\n\r\nEINGABE "));
    QCOMPARE(edit.selStart(), 14);
}

void TestScriptEdit::ctrlYCutsTheLineToTheClipboard() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("abc\r\ndef\r\nghi"));
    edit.setCaret(7);
    CtrlY(edit);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nghi"));
    QCOMPARE(Clipboard(), QStringLiteral("def\r\n"));
    QCOMPARE(edit.selStart(), 5);
    QCOMPARE(edit.document()->blockCount(), 2);

    // Ctrl+Y is the cut, not the toolkit's redo: after an undo it cuts again.
    edit.undo();
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\ndef\r\nghi"));
    edit.setCaret(12);
    CtrlY(edit);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\ndef\r\n"));
    QCOMPARE(Clipboard(), QStringLiteral("ghi"));
}

void TestScriptEdit::editedOnEveryChange() {
    ScriptEdit edit(false);
    QSignalSpy spy(&edit, &ScriptEdit::edited);
    edit.setCrlfText(QStringLiteral("HINWEIS hallo\r\n"));
    edit.setCaret(15);
    QTest::keyClick(&edit, Qt::Key_X);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(spy.count(), 3);
    QTest::keyClicks(&edit, QStringLiteral("a "));
    QCOMPARE(edit.crlfText(), QStringLiteral("HINWEIS hallo\r\nAUFLEGEN\r\n"));
    QVERIFY(spy.count() >= 5); // the letter, then the completion
    spy.clear();
    edit.setCaret(16);
    CtrlY(edit);
    QCOMPARE(spy.count(), 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("PAUSE 2"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(edit.crlfText(), QStringLiteral("HINWEIS hallo\r\nPAUSE 2"));
    // Moving the caret changes nothing.
    QTest::keyClick(&edit, Qt::Key_Home);
    edit.select(0, 7);
    QCOMPARE(spy.count(), 2);
}

void TestScriptEdit::lockedBoxIgnoresShorthandAndCut() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("PAUSE 1\r\ne"));
    edit.setCaret(10);
    edit.setLocked(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QSignalSpy spy(&edit, &ScriptEdit::edited);
    QTest::keyClick(&edit, Qt::Key_Space);
    CtrlY(edit);
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 1\r\ne"));
    QCOMPARE(Clipboard(), QStringLiteral("before"));
    QCOMPARE(spy.count(), 0);
    // The runner still selects lines while the box is locked.
    edit.select(0, 7);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("PAUSE 1"));

    edit.setLocked(false);
    edit.setCaret(10);
    QTest::keyClick(&edit, Qt::Key_Space);
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 1\r\nEINGABE "));
}

// CR LF positions with umlauts and empty lines select, and type at, the right characters.
void TestScriptEdit::positionsLandOnTheRightCharacters() {
    const QString text = QStringLiteral("W\u00c4HLE 1\u00e4\u00f6\u00fc\r\n\r\n"
                                        "HINWEIS \u00dcbertragung l\u00e4uft\r\n\r\n\r\n"
                                        "PAUSE 2\r\nAUFLEGEN");
    ScriptEdit edit(false);
    edit.setCrlfText(text);
    QCOMPARE(edit.crlfText(), text);
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const int start = int(text.indexOf(line));
        edit.select(start, int(line.size()));
        QCOMPARE(edit.textCursor().selectedText(), line); // what the user sees selected
        QCOMPARE(edit.selText(), line);
        QCOMPARE(edit.selStart(), start);
        QCOMPARE(edit.selLength(), int(line.size()));
        if (line != QLatin1String("AUFLEGEN")) { // the line break belongs to a selection
            edit.select(start, int(line.size()) + 2);
            QCOMPARE(edit.selText(), line + QStringLiteral("\r\n"));
        }
    }
    for (int position : {0, 1, 10, 12, 43, 62}) { // line ends, empty lines, the end
        edit.setCrlfText(text);
        edit.setCaret(position);
        QCOMPARE(edit.selStart(), position);
        QTest::keyClicks(&edit, QStringLiteral("X"));
        QCOMPARE(edit.crlfText(), QString(text).insert(position, u'X'));
    }
    // Beyond the end: at the end.
    edit.setCrlfText(text);
    edit.select(54, 1000);
    QCOMPARE(edit.selText(), QStringLiteral("AUFLEGEN"));
    edit.setCaret(1000);
    QCOMPARE(edit.selStart(), int(text.size()));
}

// A stored text keeps every character through showing, editing elsewhere in it and reading
// it back: lone CR and LF, and characters the document takes as its own marks or stand-ins.
void TestScriptEdit::storedTextComesBackUnchanged_data() {
    QTest::addColumn<QString>("text");
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
    edit.select(1, int(text.size()) - 2);
    QCOMPARE(edit.selText(), text.mid(1, text.size() - 2));
    // Typed behind every character, and completed and cut at the end.
    for (int position = 1; position <= text.size(); ++position) {
        if (text.mid(position - 1, 2) == QStringLiteral("\r\n"))
            continue; // no caret between CR and LF
        edit.setCrlfText(text);
        edit.setCaret(position);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(edit.crlfText(), QString(text).insert(position, u'x'));
    }
    edit.setCrlfText(text);
    edit.setCaret(int(text.size()));
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("t "));
    QCOMPARE(edit.crlfText(), text + QStringLiteral("\r\nTONWAHL\r\n"));
    edit.undo();
    QCOMPARE(edit.crlfText(), text + QStringLiteral("\r\nt"));
    edit.setCaret(0);
    CtrlY(edit);
    QCOMPARE(Clipboard() + edit.crlfText(), text + QStringLiteral("\r\nt"));
}

// Pasted and dropped text breaks its lines as script lines, whatever its own line breaks;
// copied text carries CR LF.
void TestScriptEdit::pastedAndDroppedLinesAreScriptLines_data() {
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("LF") << QStringLiteral("W\u00c4HLE 77\nAUFLEGEN\n")
                        << QStringLiteral("W\u00c4HLE 77\r\nAUFLEGEN\r\n");
    QTest::newRow("CR") << QStringLiteral("a\rb\r") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc\rd\u2028e\u2029\r\nf")
                           << QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
    QTest::newRow("no break at the end")
        << QStringLiteral("\n\nPAUSE 2") << QStringLiteral("\r\n\r\nPAUSE 2");
}

void TestScriptEdit::pastedAndDroppedLinesAreScriptLines() {
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
    QCOMPARE(Clipboard(), QStringLiteral("X\r") + inserted + QStringLiteral("Y"));

    // A drop at the start of the text.
    edit.resize(300, 200);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setCrlfText(QStringLiteral("Y"));
    QMimeData data;
    data.setText(incoming);
    const QPoint at = edit.cursorRect(QTextCursor(edit.document())).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(edit.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(edit.viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(edit.viewport(), &drop);
    QCOMPARE(edit.crlfText(), inserted + QStringLiteral("Y"));
}

void TestScriptEdit::wrapModes() {
    const QString longLine =
        QStringLiteral("HINWEIS ") + QString(400, u'x').replace(QStringLiteral("xxxxx"), "xxxx ");
    ScriptEdit plain(false);
    ScriptEdit wrapping(true);
    for (ScriptEdit *edit : {&plain, &wrapping}) {
        edit->resize(240, 160);
        edit->setCrlfText(longLine);
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit));
    }
    QVERIFY(plain.horizontalScrollBar()->isVisible());
    QCOMPARE(plain.document()->firstBlock().layout()->lineCount(), 1);
    QVERIFY(!wrapping.horizontalScrollBar()->isVisible());
    QVERIFY(wrapping.document()->firstBlock().layout()->lineCount() > 3);
    QCOMPARE(wrapping.crlfText(), longLine); // wrapping adds no line breaks
    QVERIFY(QFontInfo(plain.font()).fixedPitch());
}

void TestScriptEdit::marksKeywordsAndSkippedLines() {
    ScriptEdit edit(false);
    edit.resize(400, 200);
    edit.setCrlfText(QStringLiteral("W\u00c4HLE %EINGABE%\r\nPAUES 5\r\nAnlage neu"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));

    const QTextBlock first = edit.document()->firstBlock();
    QStringList marks; // "<start> <length> bold" and "<start> <length> coloured"
    for (const QTextLayout::FormatRange &range : first.layout()->formats()) {
        const QString at = QStringLiteral("%1 %2 ").arg(range.start).arg(range.length);
        if (range.format.fontWeight() == QFont::Bold)
            marks << at + "bold";
        if (range.format.hasProperty(QTextFormat::ForegroundBrush))
            marks << at + "coloured";
    }
    QVERIFY2(marks.contains("0 5 bold") && marks.contains("6 9 coloured"),
             qPrintable(marks.join(',')));
    const QTextBlock second = first.next();
    QCOMPARE(second.layout()->formats().size(), 1);
    QCOMPARE(second.layout()->formats().first().format.underlineStyle(),
             QTextCharFormat::WaveUnderline);
    QVERIFY(second.next().layout()->formats().isEmpty()); // a remark stays plain

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
    QCOMPARE(edit.skipReasonAt(pointOn(first)), QString());
    QCOMPARE(edit.skipReasonAt(pointOn(second.next())), QString());
}

QTEST_MAIN(TestScriptEdit)
#include "tst_scriptedit.moc"
