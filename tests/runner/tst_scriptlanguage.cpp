// Script lines to instructions, PAUSE arguments, command texts, and cutting a text into lines.
#include "runner/ScriptLanguage.h"

#include <QtTest>

using namespace telmaris;

Q_DECLARE_METATYPE(telmaris::Keyword)

class TestScriptLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsLines_data();
    void readsLines();
    void pauseSeconds_data();
    void pauseSeconds();
    void commandTexts();
    void splitsAtCrLfOnly_data();
    void splitsAtCrLfOnly();
};

void TestScriptLanguage::readsLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<Keyword>("keyword");
    QTest::addColumn<QString>("argument");

    const QString none;
    QTest::newRow("pause") << "PAUSE 5" << none << Keyword::Pause << "5";
    QTest::newRow("tonwahl") << "TONWAHL" << none << Keyword::Tonwahl << "";
    QTest::newRow("impulswahl") << "IMPULSWAHL x" << none << Keyword::Impulswahl << "x";
    QTest::newRow("modem") << "MODEM ATZ" << none << Keyword::Modem << "ATZ";
    QTest::newRow("hinweis") << "HINWEIS Bitte warten" << none << Keyword::Hinweis
                             << "Bitte warten";
    QTest::newRow("dialog") << "DIALOG Text" << none << Keyword::Dialog << "Text";
    QTest::newRow("eingabe") << "EINGABE Nummer?" << none << Keyword::Eingabe << "Nummer?";
    QTest::newRow("waehle") << QString::fromUtf8("WÄHLE 123") << none << Keyword::Waehle << "123";
    QTest::newRow("auflegen") << "AUFLEGEN" << none << Keyword::Auflegen << "";
    QTest::newRow("flash") << "FLASH" << none << Keyword::Flash << "";
    QTest::newRow("erdtaste") << "ERDTASTE" << none << Keyword::Erdtaste << "";

    QTest::newRow("blanks trimmed") << "   PAUSE 3   " << none << Keyword::Pause << "3";
    QTest::newRow("inner blanks kept")
        << QString::fromUtf8("WÄHLE  12 3") << none << Keyword::Waehle << " 12 3";
    QTest::newRow("small letters") << "pause 5" << none << Keyword::None << "5";
    QTest::newRow("tab after keyword") << "PAUSE\t5" << none << Keyword::None << "";
    QTest::newRow("tab not trimmed") << "\tFLASH" << none << Keyword::None << "";
    QTest::newRow("umlaut spelled out") << "WAEHLE 1" << none << Keyword::None << "1";
    QTest::newRow("small umlaut") << QString::fromUtf8("WäHLE 1") << none << Keyword::None << "1";
    QTest::newRow("remark") << "---- Amt ----" << none << Keyword::None << "Amt ----";
    QTest::newRow("blank only") << "    " << none << Keyword::None << "";
    QTest::newRow("empty") << "" << none << Keyword::None << "";

    QTest::newRow("placeholder") << QString::fromUtf8("WÄHLE *1%EINGABE%#") << "42"
                                 << Keyword::Waehle << "*142#";
    QTest::newRow("placeholder any case") << "MODEM ATDT%eingabe%,%EinGabe%"
                                          << "7" << Keyword::Modem << "ATDT7,7";
    QTest::newRow("placeholder empty") << "MODEM AT%EINGABE%"
                                       << "" << Keyword::Modem << "AT";
    QTest::newRow("placeholder as keyword") << "%EINGABE% 1"
                                            << "PAUSE" << Keyword::None << "1";
}

void TestScriptLanguage::readsLines() {
    QFETCH(QString, line);
    QFETCH(QString, eingabe);
    QFETCH(Keyword, keyword);
    QFETCH(QString, argument);
    const ScriptInstruction instruction = ReadScriptLine(line, eingabe);
    QCOMPARE(instruction.keyword, keyword);
    QCOMPARE(instruction.argument, argument);
}

void TestScriptLanguage::pauseSeconds_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("seconds");
    QTest::newRow("plain") << "45" << 45;
    QTest::newRow("none") << "" << 1;
    QTest::newRow("zero") << "0" << 1;
    QTest::newRow("negative") << "-5" << 1;
    QTest::newRow("above range") << "100" << 60;
    QTest::newRow("sixty") << "60" << 60;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("comma stops") << "2,5" << 2;
    QTest::newRow("word after") << "5 Sekunden" << 5;
    QTest::newRow("blanks inside") << " 1 0" << 10;
    QTest::newRow("tab inside") << "1\t2" << 12;
    QTest::newRow("not a number") << "lang" << 1;
    QTest::newRow("beyond 16 bits") << "40000" << 60;
    QTest::newRow("far beyond 16 bits") << "1e400" << 1; // reads 1, "e" stops the number
    QTest::newRow("huge") << QString(400, u'9') << 60;
    QTest::newRow("very negative") << "-99999999" << 1;
}

void TestScriptLanguage::pauseSeconds() {
    QFETCH(QString, argument);
    QFETCH(int, seconds);
    QCOMPARE(PauseSeconds(argument), seconds);
}

void TestScriptLanguage::commandTexts() {
    QCOMPARE(AtCommand(QStringLiteral("&F")), QStringLiteral("AT&F\r"));
    QCOMPARE(HangUpCommand(), QStringLiteral("ATH0\r"));
    QCOMPARE(FlashCommand(), QStringLiteral("ATDT!;\r"));
    QCOMPARE(DialCommand(QStringLiteral("0815"), false), QStringLiteral("ATDT0815;\r"));
    QCOMPARE(DialCommand(QStringLiteral("0815"), true), QStringLiteral("ATDP0815;\r"));
    QCOMPARE(DialCommand(QString(), false), QStringLiteral("ATDT;\r"));
    QCOMPARE(ModemCommand(QStringLiteral("hallo")), QStringLiteral("hallo\r"));
}

void TestScriptLanguage::splitsAtCrLfOnly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("startsAndLengths");
    QTest::newRow("empty") << "" << QList<int>{0, 0};
    QTest::newRow("one line") << "FLASH" << QList<int>{0, 5};
    QTest::newRow("final break adds nothing") << "AB\r\n" << QList<int>{0, 2};
    QTest::newRow("last line without break") << "AB\r\nC" << QList<int>{0, 2, 4, 1};
    QTest::newRow("blank lines") << "A\r\n\r\n  \r\nB" << QList<int>{0, 1, 3, 0, 5, 2, 9, 1};
    QTest::newRow("lone CR and LF stay") << "A\rB\nC\r\nD" << QList<int>{0, 5, 7, 1};
    QTest::newRow("break only") << "\r\n" << QList<int>{0, 0};
    QTest::newRow("text ends in CR") << "A\r\nB\r" << QList<int>{0, 1, 3, 2};
}

void TestScriptLanguage::splitsAtCrLfOnly() {
    QFETCH(QString, text);
    QFETCH(QList<int>, startsAndLengths);
    QList<int> actual;
    for (const ScriptLineRange &line : SplitScriptLines(text))
        actual << line.start << line.length;
    QCOMPARE(actual, startsAndLengths);
}

QTEST_GUILESS_MAIN(TestScriptLanguage)
#include "tst_scriptlanguage.moc"
