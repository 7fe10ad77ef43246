// Script slots: the escaped storage of script texts and the names list.
#include "store/ScriptSlots.h"

#include "store/SkriptNames.h"

#include <QtTest>

using namespace telmaris;

class TestScriptSlots : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escapes();
    void namesList();
};

// A path, two lines, tab and quote, lone CR and LF both ways; escapes in small letters, an
// unknown one and a lone backslash at the end only when read.
void TestScriptSlots::escapes() {
    const std::tuple<const char *, const char *, bool> rows[] = {
        {"C:\\Telmaris", "C:\\\\Telmaris", true},
        {"WÄHLE 0\r\nFLASH", "WÄHLE 0\\N\\LFLASH", true},
        {"\t\"x\"", "\\T\\Hx\\H", true},
        {"a\rb\n\\N", "a\\Nb\\L\\\\N", true},
        {"a\r\n\tb", "a\\n\\l\\tb", false},
        {"x", "\\x", false},
        {"ab", "ab\\", false}};
    for (const auto &[text, stored, encodes] : rows) {
        if (encodes)
            QCOMPARE(encodeIniText(QString::fromUtf8(text)), QString::fromUtf8(stored));
        QCOMPARE(decodeIniText(QString::fromUtf8(stored)), QString::fromUtf8(text));
    }
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
