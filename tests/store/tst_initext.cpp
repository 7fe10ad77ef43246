// The settings file's text: lookups, updates that keep every other byte, the code page, and the
// escaped storage of script texts.
#include "store/IniText.h"
#include "store/ScriptSlots.h"

#include <QtTest>

using namespace telmaris;

class TestIniText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void updateKeepsOtherBytes_data();
    void updateKeepsOtherBytes();
    void linesAndCodePages_data();
    void linesAndCodePages();
    void valuesCannotStartLines();
    void scriptTextEscapes();
};

void TestIniText::updateKeepsOtherBytes_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray rich = "; Telmaris\r\n\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n"
                            "[Data]\r\nunbekannt = bleibt\r\ncomport = 2\r\n; Notiz\r\n\r\n"
                            "[Zuletzt]\r\nX=1\r\n";
    const auto row = [](const char *name, const QByteArray &before, const char *key,
                        const char *value, const QByteArray &after) {
        QTest::newRow(name) << before << QString(key) << QString::fromUtf8(value) << after;
    };
    row("in place, the file's spelling kept", rich, "ComPort", "4",
        QByteArray(rich).replace("comport = 2", "comport = 4"));
    row("new key after the section's last line", rich, "LineLen", "80",
        QByteArray(rich).replace("; Notiz\r\n", "; Notiz\r\nLineLen=80\r\n"));
    row("section appended, LF kept", "[Ports]\nCOM1=x\n", "A", "1",
        "[Ports]\nCOM1=x\n[Data]\nA=1\n");
    row("new line takes the file's first line end", "[Data]\rk=v\n", "n", "1",
        "[Data]\rk=v\nn=1\r");
    row("lone CR before an empty line's LF stays apart", "[Data]\rk=v\n\n[X]\r", "n", "1",
        "[Data]\rk=v\nn=1\r\n\n[X]\r");
    row("lone CR at the end, section appended", "[A]\r\nk=v\r", "n", "1",
        "[A]\r\nk=v\r[Data]\r\nn=1\r\n");
    // The same value again changes nothing, whatever code page its line is in.
    row("same value, own code page", "[Data]\nA=Gr\xF6\xDF\n", "a", "Gr\xC3\xB6\xC3\x9F",
        "[Data]\nA=Gr\xF6\xDF\n");
    row("changed line in UTF-8 beside one in Windows-1252", "[Data]\nA=\xC4\nB=\xD6\n", "A", "Ä0",
        "[Data]\nA=Ä0\nB=\xD6\n");
}

void TestIniText::updateKeepsOtherBytes() {
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    IniText ini = IniText::fromBytes(before);
    QCOMPARE(ini.toBytes(), before); // untouched: identical
    ini.setValue(QStringLiteral("Data"), key, value);
    QCOMPARE(ini.toBytes(), after);
}

// Where lines end and which code page each line is in: a line that is valid UTF-8 is UTF-8,
// any other line Windows-1252, whatever the lines around it are.
void TestIniText::linesAndCodePages_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // the values of keys k and m of section [A]
    const auto row = [](const char *name, const QByteArray &bytes, const char *expected) {
        QTest::newRow(name) << bytes << QString::fromUtf8(expected);
    };
    row("CR before CR LF", "[A]\nk=v\r\r\nm=w\n", "v|w");
    row("LF CR", "[A]\n\rk=v\n\rm=w\r", "v|w");
    row("a foreign byte makes its whole line Windows-1252", "[A]\nk=\xC3\x84 \xE4\nm=\xC3\xB6",
        "Ã„ ä|ö");
    row("undefined Windows-1252 bytes stand for themselves", "[A]\nk=\x80\x81\x9F\n",
        "\u20AC\u0081\u0178|");
    // Sections and keys in any case, blanks around them, the first of duplicates; a remark
    // and other sections do not count.
    row("keys in any case", "K=0\n[B]\nk=1\n[a]\n; k=9\n  K =  2 \nk=3\nM=\n[A]\nm=4", "2|");
    row("section behind a no-break space", "\xC2\xA0[A]\nk=v\n", "v|");
    row("byte order mark", "\xEF\xBB\xBF[A]\nk=\xC3\xA4\n", "\xC3\xA4|");
}

void TestIniText::linesAndCodePages() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const IniText ini = IniText::fromBytes(bytes);
    QCOMPARE(ini.value(QStringLiteral("A"), QStringLiteral("k")) + u'|' +
                 ini.value(QStringLiteral("A"), QStringLiteral("m")),
             expected);
    QCOMPARE(ini.toBytes(), bytes);
}

// Line breaks and NULs in a value are stored as blanks: no value can start a key or section.
void TestIniText::valuesCannotStartLines() {
    IniText ini;
    ini.setValue(QStringLiteral("Data"), QStringLiteral("SkriptName1"),
                 QStringLiteral("a\r\n[Evil]\rB=1\n") + QChar(0) + u'z');
    const IniText reread = IniText::fromBytes(ini.toBytes());
    QCOMPARE(reread.value(QStringLiteral("Data"), QStringLiteral("SkriptName1")),
             QStringLiteral("a  [Evil] B=1  z"));
    // A new file takes the system's line end.
#ifdef Q_OS_WIN
    const QByteArray end = "\r\n";
#else
    const QByteArray end = "\n";
#endif
    QCOMPARE(ini.toBytes(), "[Data]" + end + "SkriptName1=a  [Evil] B=1  z" + end);
}

// A path, two lines, tab and quote, lone CR and LF both ways; escapes in small letters, an
// unknown one and a lone backslash at the end only when read.
void TestIniText::scriptTextEscapes() {
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

QTEST_GUILESS_MAIN(TestIniText)
#include "tst_initext.moc"
