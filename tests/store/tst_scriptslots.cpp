// Script slots: the escaped storage of script texts.
#include "store/ScriptSlots.h"

#include <QtTest>

using namespace telmaris;

class TestScriptSlots : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escapes();
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

QTEST_GUILESS_MAIN(TestScriptSlots)
#include "tst_scriptslots.moc"
