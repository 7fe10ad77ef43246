// Which lines the editor marks as skipped or as too long for many modems, and why; what it
// shows in bold and in colour.

#include "editor/ScriptLint.h"

#include <QTest>

using telmaris::checkScriptLine;
using telmaris::Span;

class TestScriptLint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void skippedLines_data();
    void skippedLines();
    void keywordAndPlaceholders();
};

void TestScriptLint::skippedLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // a part of the reason; empty: not marked
    QTest::addColumn<int>("markStart");
    QTest::addColumn<int>("markLength");

    const QString caps = QStringLiteral("in Gro\u00dfbuchstaben");
    const QString tabAfter = QStringLiteral("muss ein Leerzeichen stehen, kein Tabulator");
    // clang-format off
    QTest::newRow("empty") << "" << "" << 0 << 0;
    QTest::newRow("small letters, indented") << "  hinweis Bitte warten" << caps << 2 << 7;
    QTest::newRow("tab after keyword") << "PAUSE\t5" << tabAfter << 0 << 7;
    QTest::newRow("tab before keyword") << "\tFLASH" << "Vor dem Schl\u00fcsselwort" << 0 << 6;
    QTest::newRow("small and misspelt") << "tonwhal" << "\u201eTONWAHL\u201c" << 0 << 7;
    QTest::newRow("remark") << "Anlage auf Werkseinstellung" << "" << 0 << 0;
    QTest::newRow("separator") << QString(65, u'-') << "" << 0 << 0;
    QTest::newRow("placeholder as keyword") << "%EINGABE% 1" << "" << 0 << 0;
    QTest::newRow("two edits away") << "PUASEN 5" << "" << 0 << 0;
    // Marked only when the words that follow fit the keyword: nothing, or its argument.
    QTest::newRow("pause with unit") << "Pause 5 Sekunden" << caps << 0 << 5;
    QTest::newRow("remark on a pause") << "Pause nach dem Wählen" << "" << 0 << 0;
    QTest::newRow("dial string") << "wähle *21#%eingabe%" << caps << 0 << 5;
    QTest::newRow("remark on hanging up") << "Auflegen und warten" << "" << 0 << 0;
    QTest::newRow("notice in capitals") << "HINWIES Bitte warten" << "„HINWEIS“" << 0 << 7;
    QTest::newRow("heading, a noun") << "Eingabe" << "" << 0 << 0;
    QTest::newRow("misspelt, tab after") << "PAUES\t5" << "„PAUSE“" << 0 << 7;
    // Sent, but noted: a command of more than 40 characters from "AT" to before the CR.
    const QString long41 =
        QStringLiteral("Diese Zeile wird gesendet, aber ihr Modembefehl ist 41 Zeichen lang");
    QTest::newRow("command of 40") << "MODEM AT" + QString(38, u'Z') << "" << 0 << 0;
    QTest::newRow("command of 41") << " MODEM AT" + QString(39, u'Z') << long41 << 7 << 41;
    QTest::newRow("dial of 41") << "WÄHLE " + QString(36, u'1') << long41 << 6 << 36;
    QTest::newRow("skipped, however long") << "wähle " + QString(50, u'1') << caps << 0 << 5;
    // clang-format on
}

void TestScriptLint::skippedLines() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QFETCH(int, markStart);
    QFETCH(int, markLength);

    const auto marks = checkScriptLine(line);
    // A line is skipped, or it is sent and its command may be long; never both.
    const bool sent = marks.skipReason.isEmpty();
    const Span mark = sent ? marks.longCommand : marks.skipped;
    if (reason.isEmpty()) {
        QCOMPARE(marks.reason(), QString());
        QCOMPARE(mark.length, 0);
        return;
    }
    QVERIFY2(marks.reason().contains(reason), qPrintable(marks.reason()));
    QCOMPARE(mark, (Span{markStart, markLength}));
    if (sent)
        return;
    QVERIFY2(marks.skipReason.startsWith(QStringLiteral("Diese Zeile wird \u00fcbersprungen: ")),
             qPrintable(marks.skipReason));
    QCOMPARE(marks.longCommand.length, 0);
    QCOMPARE(marks.keyword.length, 0);
}

void TestScriptLint::keywordAndPlaceholders() {
    auto marks = checkScriptLine(QStringLiteral("  W\u00c4HLE %eingabe%#%EINGABE%  "));
    QCOMPARE(marks.keyword, (Span{2, 5}));
    QCOMPARE(marks.placeholders, (QList<Span>{{8, 9}, {18, 9}}));

    // Not replaced outside the argument of a keyword, so not coloured there.
    marks = checkScriptLine(QStringLiteral("Code %EINGABE%"));
    QVERIFY(marks.placeholders.isEmpty() && marks.keyword.length == 0);
}

QTEST_GUILESS_MAIN(TestScriptLint)
#include "tst_scriptlint.moc"
