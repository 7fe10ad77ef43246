// Which lines the editor marks as skipped, and why; what it shows in bold and in colour.

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
    QTest::newRow("small letters") << "pause 5" << caps << 0 << 5;
    QTest::newRow("small letters, indented") << "  hinweis Bitte warten" << caps << 2 << 7;
    QTest::newRow("tab after keyword") << "PAUSE\t5" << tabAfter << 0 << 7;
    QTest::newRow("tab before keyword") << "\tFLASH" << "Vor dem Schl\u00fcsselwort" << 0 << 6;
    QTest::newRow("no umlaut") << "WAHLE 1" << "\u201eW\u00c4HLE\u201c" << 0 << 5;
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
    // clang-format on
}

void TestScriptLint::skippedLines() {
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QFETCH(int, markStart);
    QFETCH(int, markLength);

    const auto marks = checkScriptLine(line);
    if (reason.isEmpty()) {
        QCOMPARE(marks.skipReason, QString());
        QCOMPARE(marks.skipped.length, 0);
        return;
    }
    QVERIFY2(marks.skipReason.startsWith(QStringLiteral("Diese Zeile wird \u00fcbersprungen: ")),
             qPrintable(marks.skipReason));
    QVERIFY2(marks.skipReason.contains(reason), qPrintable(marks.skipReason));
    QCOMPARE(marks.skipped, (Span{markStart, markLength}));
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
