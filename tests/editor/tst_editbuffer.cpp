// The keyword shorthand and the line cut on the CR LF text model.

#include "editor/EditBuffer.h"

#include <QTest>

using telmaris::CompleteKeyword;
using telmaris::CutLine;
using telmaris::EditBuffer;

class TestEditBuffer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shorthand_data();
    void shorthand();
    void cutLine_data();
    void cutLine();
};

void TestEditBuffer::shorthand_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("lineLen");
    QTest::addColumn<bool>("swallowed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");

    const QString dashes65(65, u'-');
    const QString hashes120(120, u'#');
    // clang-format off
    QTest::newRow("caret at the start") << "e" << 0 << 0 << 65 << false << "e" << 0;
    QTest::newRow("lone e") << "e" << 1 << 0 << 65 << true << "EINGABE " << 8;
    QTest::newRow("x and e") << "xe" << 2 << 0 << 65 << false << "xe" << 2;
    QTest::newRow("letter after HINWEIS") << "HINWEIS a" << 9 << 0 << 65 << true
                                          << "HINWEIS AUFLEGEN\r\n" << 18;
    QTest::newRow("t after a PAUSE line") << "PAUSE 5\r\nt" << 10 << 0 << 65 << true
                                          << "PAUSE 5\r\nTONWAHL\r\n" << 18;
    QTest::newRow("lone d, DIALOG has none") << "d" << 1 << 0 << 65 << false << "d" << 1;
    QTest::newRow("lone digit") << "HINWEIS 5" << 9 << 0 << 65 << false << "HINWEIS 5" << 9;
    QTest::newRow("dash on a new line, 65") << "AUFLEGEN\r\n-" << 11 << 0 << 65 << true
                                            << "AUFLEGEN\r\n" + dashes65 + "\r\n" << 77;
    QTest::newRow("star, LineLen 1") << "*" << 1 << 0 << 1 << true << "*\r\n" << 3;
    QTest::newRow("hash, LineLen 120") << "#" << 1 << 0 << 120 << true << hashes120 + "\r\n" << 122;
    QTest::newRow("underscore") << "_" << 1 << 0 << 3 << true << "___\r\n" << 5;
    QTest::newRow("f before further lines") << "f\r\nPAUSE 1" << 1 << 0 << 65 << true
                                            << "FLASH\r\n\r\nPAUSE 1" << 7;
    QTest::newRow("m after a tab") << "\tm" << 2 << 0 << 65 << true << "\tMODEM " << 7;
    QTest::newRow("h") << "h" << 1 << 0 << 65 << true << "HINWEIS " << 8;
    QTest::newRow("p") << "p" << 1 << 0 << 65 << true << "PAUSE " << 6;
    QTest::newRow("w") << "w" << 1 << 0 << 65 << true << "W\u00c4HLE " << 6;
    QTest::newRow("text behind the caret stays") << "p 7" << 1 << 0 << 65 << true
                                                 << "PAUSE  7" << 6;
    QTest::newRow("selection dropped, its text stays") << "e abc" << 1 << 4 << 65 << true
                                                       << "EINGABE  abc" << 8;
    // clang-format on
}

void TestEditBuffer::shorthand() {
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, lineLen);
    QFETCH(bool, swallowed);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    EditBuffer buffer{text, selStart, selLength};
    QCOMPARE(CompleteKeyword(buffer, lineLen), swallowed);
    QCOMPARE(buffer.text, expected);
    QCOMPARE(buffer.selStart, caret);
    QCOMPARE(buffer.selLength, swallowed ? 0 : selLength);
}

void TestEditBuffer::cutLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("caret");

    const QString three = QStringLiteral("abc\r\ndef\r\nghi");
    // clang-format off
    QTest::newRow("middle, inside") << three << 6 << 0 << "abc\r\nghi" << "def\r\n" << 5;
    QTest::newRow("middle, selection ignored") << three << 6 << 7 << "abc\r\nghi" << "def\r\n" << 5;
    QTest::newRow("first line") << three << 0 << 0 << "def\r\nghi" << "abc\r\n" << 0;
    QTest::newRow("last line, no break") << three << 11 << 0 << "abc\r\ndef\r\n" << "ghi" << 10;
    QTest::newRow("empty line") << "abc\r\n\r\ndef" << 5 << 0 << "abc\r\ndef" << "\r\n" << 5;
    QTest::newRow("empty last line") << "abc\r\n" << 5 << 0 << "abc\r\n" << "" << 5;
    QTest::newRow("empty box") << "" << 0 << 0 << "" << "" << 0;
    QTest::newRow("a lone LF ends the search") << "ab\ncd\r\nef" << 4 << 0 << "ab\nef" << "cd\r\n" << 3;
    QTest::newRow("umlauts") << "W\u00c4HLE 1\r\n\u00dcber" << 3 << 0 << "\u00dcber" << "W\u00c4HLE 1\r\n" << 0;
    // clang-format on
}

void TestEditBuffer::cutLine() {
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(QString, clipboard);
    QFETCH(int, caret);

    EditBuffer buffer{text, selStart, selLength};
    QCOMPARE(CutLine(buffer), clipboard);
    QCOMPARE(buffer.text, expected);
    QCOMPARE(buffer.selStart, caret);
    QCOMPARE(buffer.selLength, 0);
}

QTEST_GUILESS_MAIN(TestEditBuffer)
#include "tst_editbuffer.moc"
