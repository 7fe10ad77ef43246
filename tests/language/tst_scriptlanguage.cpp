// Script lines to instructions and PAUSE arguments. Every keyword on its own is carried out by
// the runner tests; here are the edge cases of reading a line and its number.
#include "language/ScriptLanguage.h"

#include <QtTest>
#include <clocale>

using namespace telmaris;

Q_DECLARE_METATYPE(telmaris::Keyword)

class TestScriptLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A German desktop sets a locale whose decimal separator is ","; scripts keep the ".".
    void initTestCase() { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    void readsLines_data();
    void readsLines();
    void pauseSeconds();
};

void TestScriptLanguage::readsLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<Keyword>("keyword");
    QTest::addColumn<QString>("argument");
    const QString none;
    QTest::newRow("blanks trimmed") << "   PAUSE 3   " << none << Keyword::Pause << "3";
    QTest::newRow("small letters") << "pause 5" << none << Keyword::None << "5";
    QTest::newRow("tab after keyword") << "PAUSE\t5" << none << Keyword::None << "";
    QTest::newRow("placeholder as keyword") << "%EINGABE% 1"
                                            << "PAUSE" << Keyword::None << "1";
}

void TestScriptLanguage::readsLines() {
    QFETCH(QString, line);
    QFETCH(QString, eingabe);
    QFETCH(Keyword, keyword);
    QFETCH(QString, argument);
    const ScriptInstruction instruction = readScriptLine(line, eingabe);
    QCOMPARE(instruction.keyword, keyword);
    QCOMPARE(instruction.argument, argument);
}

void TestScriptLanguage::pauseSeconds() {
    // Rounded half to even, clamped to 1..60; blanks and tabs inside are skipped; "e" ends the
    // number, so "1e400" is 1.
    const std::pair<const char *, int> rows[] = {
        {"45", 45},       {"", 1},    {"0", 1},    {"-5", 1},   {"100", 60},       {"60", 60},
        {"2.5", 2},       {"3.5", 4}, {"0.5", 1},  {"2,5", 2},  {"5 Sekunden", 5}, {" 1 0", 10},
        {"1\t2", 12},     {"- 3", 1}, {"--5", 1},  {"lang", 1}, {"40000", 60},     {"1e400", 1},
        {"-99999999", 1}, {".9", 1},  {"1.2.3", 1}};
    for (const auto &[argument, seconds] : rows)
        QCOMPARE(u'\'' + QString::fromUtf8(argument) + "' " +
                     QString::number(telmaris::pauseSeconds(QString::fromUtf8(argument))),
                 u'\'' + QString::fromUtf8(argument) + "' " + QString::number(seconds));
    QCOMPARE(telmaris::pauseSeconds(QString(400, u'9')), 60);
}

QTEST_GUILESS_MAIN(TestScriptLanguage)
#include "tst_scriptlanguage.moc"
