// The editor box driven through real key events: what the user types, sees selected and finds
// on the clipboard, and when the window hears of a change.

#include "editor/ScriptEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

using telmaris::ScriptEdit;

class TestScriptEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void completesKeywordsAsTyped();
    void separatorFollowsLineLen();
    void ctrlYCutsTheLineToTheClipboard();
    void editedOnEveryChange();
    void lockedBoxIgnoresShorthandAndCut();
    void positionsLandOnTheRightCharacters_data();
    void positionsLandOnTheRightCharacters();
    void caretPositionTypesAtThatCharacter();
    void loneCrAndLfStayAsTheyAre();
    void clipboardCarriesCrLfText();
    void shiftEnterInsertsAPlainLineBreak();
    void hoveredOnMouseMove();
    void wrapModes();
    void marksKeywordsAndSkippedLines();

private:
    static void typeAtEnd(ScriptEdit &edit, const QString &keys) {
        edit.setCaret(int(edit.crlfText().size()));
        QTest::keyClicks(&edit, keys);
    }
};

void TestScriptEdit::completesKeywordsAsTyped() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("PAUSE 5\r\n"));
    typeAtEnd(edit, QStringLiteral("t "));
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 5\r\nTONWAHL\r\n"));
    QCOMPARE(edit.selStart(), 18);

    QTest::keyClicks(&edit, QStringLiteral("w 0815"));
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 5\r\nTONWAHL\r\nW\u00c4HLE 0815"));

    // Not alone: the space goes in as typed.
    QTest::keyClicks(&edit, QStringLiteral(" xe "));
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 5\r\nTONWAHL\r\nW\u00c4HLE 0815 xe "));
}

void TestScriptEdit::separatorFollowsLineLen() {
    ScriptEdit edit(true);
    edit.setLineLen(3);
    QTest::keyClicks(&edit, QStringLiteral("- e "));
    QCOMPARE(edit.crlfText(), QStringLiteral("---\r\nEINGABE "));
    QCOMPARE(edit.selStart(), 13);
}

void TestScriptEdit::ctrlYCutsTheLineToTheClipboard() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("abc\r\ndef\r\nghi"));
    edit.setCaret(7);
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\nghi"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("def\r\n"));
    QCOMPARE(edit.selStart(), 5);
    QCOMPARE(edit.document()->blockCount(), 2);

    // Ctrl+Y is the cut, not the toolkit's redo: after an undo it cuts again.
    edit.undo();
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\ndef\r\nghi"));
    edit.setCaret(12);
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("abc\r\ndef\r\n"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ghi"));

    edit.setCrlfText(QString());
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestScriptEdit::editedOnEveryChange() {
    ScriptEdit edit(false);
    QSignalSpy spy(&edit, &ScriptEdit::edited);
    edit.setCrlfText(QStringLiteral("HINWEIS hallo\r\n"));
    QCOMPARE(spy.count(), 1);

    spy.clear();
    typeAtEnd(edit, QStringLiteral("x"));
    QCOMPARE(spy.count(), 1);

    spy.clear();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(spy.count(), 1);

    spy.clear();
    QTest::keyClicks(&edit, QStringLiteral("a "));
    QVERIFY(spy.count() >= 2); // the letter, then the completion
    QCOMPARE(edit.crlfText(), QStringLiteral("HINWEIS hallo\r\nAUFLEGEN\r\n"));

    spy.clear();
    edit.setCaret(16);
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);

    spy.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("PAUSE 2"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(edit.crlfText(), QStringLiteral("HINWEIS hallo\r\nPAUSE 2"));

    // Moving the caret changes nothing.
    spy.clear();
    QTest::keyClick(&edit, Qt::Key_Home);
    edit.select(0, 7);
    QCOMPARE(spy.count(), 0);
}

void TestScriptEdit::lockedBoxIgnoresShorthandAndCut() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("PAUSE 1\r\ne"));
    edit.setCaret(10);
    edit.setLocked(true);
    QVERIFY(edit.isLocked());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QSignalSpy spy(&edit, &ScriptEdit::edited);

    QTest::keyClick(&edit, Qt::Key_Space);
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QTest::keyClick(&edit, Qt::Key_Return);

    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 1\r\ne"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(spy.count(), 0);

    // The runner still selects lines while the box is locked.
    edit.select(0, 7);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("PAUSE 1"));

    edit.setLocked(false);
    edit.setCaret(10);
    QTest::keyClick(&edit, Qt::Key_Space);
    QCOMPARE(edit.crlfText(), QStringLiteral("PAUSE 1\r\nEINGABE "));
}

void TestScriptEdit::positionsLandOnTheRightCharacters_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("first, with umlaut") << QStringLiteral("W\u00c4HLE 1\u00e4\u00f6\u00fc");
    QTest::newRow("after an empty line") << QStringLiteral("HINWEIS \u00dcbertragung l\u00e4uft");
    QTest::newRow("after two empty lines") << QStringLiteral("PAUSE 2");
    QTest::newRow("last, no break") << QStringLiteral("AUFLEGEN");
}

void TestScriptEdit::positionsLandOnTheRightCharacters() {
    QFETCH(QString, line);
    const QString text = QStringLiteral("W\u00c4HLE 1\u00e4\u00f6\u00fc\r\n\r\n"
                                        "HINWEIS \u00dcbertragung l\u00e4uft\r\n\r\n\r\n"
                                        "PAUSE 2\r\nAUFLEGEN");
    ScriptEdit edit(false);
    edit.setCrlfText(text);
    QCOMPARE(edit.crlfText(), text);

    const int start = int(text.indexOf(line));
    edit.select(start, int(line.size()));
    QCOMPARE(edit.textCursor().selectedText(), line); // what the user sees selected
    QCOMPARE(edit.selText(), line);
    QCOMPARE(edit.selStart(), start);
    QCOMPARE(edit.selLength(), int(line.size()));

    // A selection with its line break: the break belongs to it.
    if (start + line.size() < text.size()) {
        edit.select(start, int(line.size()) + 2);
        QCOMPARE(edit.selText(), line + QStringLiteral("\r\n"));
        QCOMPARE(edit.selLength(), int(line.size()) + 2);
    }
}

void TestScriptEdit::caretPositionTypesAtThatCharacter() {
    const QString text = QStringLiteral("\u00c4\u00c4\r\n\r\nPAUSE 1");
    ScriptEdit edit(false);
    for (int position : {0, 1, 2, 4, 6, 13}) {
        edit.setCrlfText(text);
        edit.setCaret(position);
        QCOMPARE(edit.selStart(), position);
        QTest::keyClicks(&edit, QStringLiteral("X"));
        QString expected = text;
        expected.insert(position, u'X');
        QCOMPARE(edit.crlfText(), expected);
    }
    // Beyond the end: at the end.
    edit.setCrlfText(text);
    edit.select(6, 1000);
    QCOMPARE(edit.selText(), QStringLiteral("PAUSE 1"));
    edit.setCaret(1000);
    QCOMPARE(edit.selStart(), 13);
}

void TestScriptEdit::loneCrAndLfStayAsTheyAre() {
    const QString text = QStringLiteral("a\rb\nc\r\nd\r\r\n\ne");
    ScriptEdit edit(false);
    edit.setCrlfText(text);
    QCOMPARE(edit.crlfText(), text);
    QCOMPARE(edit.document()->blockCount(), 3); // only CR LF breaks a line
    edit.select(int(text.indexOf(u'd')), 1);
    QCOMPARE(edit.selText(), QStringLiteral("d"));
    edit.select(int(text.indexOf(u'e')), 1);
    QCOMPARE(edit.selText(), QStringLiteral("e"));

    // Completion and cut work on such lines too.
    edit.setCaret(int(text.size()));
    QTest::keyClick(&edit, Qt::Key_Space);
    QCOMPARE(edit.crlfText(), QStringLiteral("a\rb\nc\r\nd\r\r\n\nEINGABE "));
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("EINGABE "));
    QCOMPARE(edit.crlfText(), QStringLiteral("a\rb\nc\r\nd\r\r\n\n"));
}

void TestScriptEdit::clipboardCarriesCrLfText() {
    ScriptEdit edit(false);
    edit.setCrlfText(QStringLiteral("PAUSE 1\r\nMODEM ATZ\rX"));
    edit.select(0, 100);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("PAUSE 1\r\nMODEM ATZ\rX"));

    edit.setCrlfText(QStringLiteral("AUFLEGEN"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x\ry\r\nz\n"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.crlfText(), QStringLiteral("x\ry\r\nz\nAUFLEGEN"));
    QCOMPARE(edit.selStart(), 7);
}

void TestScriptEdit::shiftEnterInsertsAPlainLineBreak() {
    ScriptEdit edit(false);
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("c"));
    QCOMPARE(edit.crlfText(), QStringLiteral("ab\r\n\r\nc"));
}

void TestScriptEdit::hoveredOnMouseMove() {
    ScriptEdit edit(false);
    edit.resize(300, 200);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QSignalSpy spy(&edit, &ScriptEdit::hovered);
    QTest::mouseMove(edit.viewport(), QPoint(20, 20));
    QTest::mouseMove(edit.viewport(), QPoint(40, 30));
    QVERIFY(spy.count() >= 1);
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
    QVERIFY(plain.font().fixedPitch() || QFontInfo(plain.font()).fixedPitch());
}

void TestScriptEdit::marksKeywordsAndSkippedLines() {
    ScriptEdit edit(false);
    edit.resize(400, 200);
    edit.setCrlfText(QStringLiteral("W\u00c4HLE %EINGABE%\r\nPAUES 5\r\nAnlage neu"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));

    const QTextBlock first = edit.document()->firstBlock();
    bool keywordBold = false;
    bool placeholderColoured = false;
    for (const QTextLayout::FormatRange &range : first.layout()->formats()) {
        if (range.start == 0 && range.length == 5 && range.format.fontWeight() == QFont::Bold)
            keywordBold = true;
        if (range.start == 6 && range.length == 9 &&
            range.format.hasProperty(QTextFormat::ForegroundBrush))
            placeholderColoured = true;
    }
    QVERIFY(keywordBold);
    QVERIFY(placeholderColoured);

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
