// Script slots: the escaped storage of script texts and the names list.
#include "store/ScriptSlots.h"

#include "store/SkriptNames.h"

#include <QtTest>

using namespace telmaris;

class TestScriptSlots : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escapes_data();
    void escapes();
    void namesList();
};

void TestScriptSlots::escapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("encodes"); // false: only the decoding is checked
    const auto row = [](const char *name, const QString &text, const QString &stored,
                        bool encodes) { QTest::newRow(name) << text << stored << encodes; };
    row("path", "C:\\Telmaris", "C:\\\\Telmaris", true);
    row("two lines", "WÄHLE 0\r\nFLASH", "WÄHLE 0\\N\\LFLASH", true);
    row("tab and quote", "\t\"x\"", "\\T\\Hx\\H", true);
    row("lone CR and LF", "a\rb\n\\N", "a\\Nb\\L\\\\N", true);
    row("small letters", "a\r\n\tb", "a\\n\\l\\tb", false);
    row("unknown escape", "x", "\\x", false);
    row("lone backslash at the end", "ab", "ab\\", false);
}

void TestScriptSlots::escapes() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(bool, encodes);
    if (encodes)
        QCOMPARE(encodeIniText(text), stored);
    QCOMPARE(decodeIniText(stored), text);
}

// What the names list shows and gives back; a name of blanks or "(kein)" is no name.
void TestScriptSlots::namesList() {
    SkriptNameList list;
    for (int n = 1; n <= 100; ++n)
        list.putSkriptNameToListbySkriptIndex(n, n == 2 ? QStringLiteral("  Amt: 0  ") : QString());
    list.putSkriptNameToListbySkriptIndex(12, QStringLiteral("   "), true);
    list.putSkriptNameToListbySkriptIndex(13, QStringLiteral("(kein)"), true);
    QCOMPARE(
        list.entries().mid(0, 2) + list.entries().mid(11, 3) + list.entries().mid(99),
        (QStringList{"1: (kein)", "2: Amt: 0", "12: ", "13: (kein)", "14: (kein)", "100: (kein)"}));
    QCOMPARE(list.getSkriptNameFromListbySkriptIndex(2), QStringLiteral("Amt: 0"));
    for (int n : {1, 12, 13})
        QCOMPARE(list.getSkriptNameFromListbySkriptIndex(n), QString());
}

QTEST_GUILESS_MAIN(TestScriptSlots)
#include "tst_scriptslots.moc"
