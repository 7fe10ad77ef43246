// The settings record: what start-up takes from the file, and what a normal end writes.
#include "store/StartDataFile.h"

#include "store/IniFile.h"
#include "store/ScriptSlots.h"

#include "TempProgramFolder.h"

#include <QtTest>

using namespace telmaris;
using telmaris::test::TempProgramFolder;

using Ports = std::array<bool, 4>;
Q_DECLARE_METATYPE(Ports)

namespace {

QString Field(const StoredStartData &stored, const QString &key) {
    const StartData &d = stored.data;
    if (key == QLatin1String("ComPort"))
        return QString::number(d.ComPort) + (stored.askToCheckPort ? " ask" : "");
    if (key == QLatin1String("ModemReset"))
        return d.ModemReset;
    if (key == QLatin1String("ModemInit"))
        return d.ModemInit;
    const std::map<QString, qint16> numbers{{"ModemSpeed", d.ModemSpeed},
                                            {"DialPuls", d.DialPuls},
                                            {"LineLen", d.LineLen},
                                            {"Umbruch", d.Umbruch},
                                            {"CurrSkript", d.CurrSkript}};
    return QString::number(numbers.at(key));
}

} // namespace

class TestStartData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storedValues_data();
    void storedValues();
    void firstStartWritesEveryKeyInOrder();
    void namesAndKeysInAnyCase();
    void failedWriteIsReported();
};

void TestStartData::storedValues_data() {
    QTest::addColumn<QByteArray>("line"); // the line below [Data]
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *line, const char *key, const char *expected) {
        QTest::newRow(line) << QByteArray(line) << QString::fromLatin1(key)
                            << QString::fromUtf8(expected);
    };
    row("ComPort=3", "ComPort", "3"); // COM3 cannot be opened, but is taken without a message
    row("ComPort=9", "ComPort", "2 ask");
    row("ComPort=0", "ComPort", "2 ask");
    row("ComPort=x", "ComPort", "2 ask");
    row("ComPort=65538", "ComPort", "2 ask"); // would be 2 in 16 bits, but is out of range
    row("ComPort=2.5", "ComPort", "2");
    row("ComPort=3.5", "ComPort", "4");
    row("ModemReset=  Z  ", "ModemReset", "Z");
    row("ModemReset=   ", "ModemReset", "&F");
    row("ModemInit=   ", "ModemInit", "V1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1");
    row("ModemSpeed=0", "ModemSpeed", "4");
    row("ModemSpeed=10", "ModemSpeed", "4");
    row("ModemSpeed=9", "ModemSpeed", "9");
    row("ModemSpeed=65542", "ModemSpeed", "4");
    row("DialPuls=2", "DialPuls", "1");
    row("DialPuls=", "DialPuls", "0");
    row("DialPuls=x", "DialPuls", "0");
    row("DialPuls=0.4", "DialPuls", "0");
    row("DialPuls=-1", "DialPuls", "1");
    row("LineLen=0", "LineLen", "65");
    row("LineLen=121", "LineLen", "65");
    row("LineLen=120", "LineLen", "120");
    row("Umbruch=1", "Umbruch", "1");
    row("Umbruch=2", "Umbruch", "0");
    row("CurrSkript=101", "CurrSkript", "1");
    row("CurrSkript=100", "CurrSkript", "100");
    row("CurrSkript=32868", "CurrSkript", "1");
    row("currskript=7", "CurrSkript", "7");
}

void TestStartData::storedValues() {
    QFETCH(QByteArray, line);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TempProgramFolder folder;
    folder.writeIni("[Data]\r\n" + line + "\r\n");
    const StoredStartData stored =
        ReadStartDataFromIniFile(IniSnapshot::Load(folder.iniPath()), {false, true, false, true});
    QCOMPARE(Field(stored, key), expected);
}

void TestStartData::firstStartWritesEveryKeyInOrder() {
    TempProgramFolder folder;
    const StoredStartData stored =
        ReadStartDataFromIniFile(IniSnapshot::Load(folder.iniPath()), {false, false, true, true});
    QVERIFY(stored.askToCheckPort);
    QCOMPARE(stored.data.ComPort, qint16(3));
    for (const QString &name : stored.names)
        QCOMPARE(name, QString());
    QVERIFY(!QFile::exists(folder.iniPath()));

    IniFile ini(folder.iniPath());
    QVERIFY(WriteStartDataToIniFile(ini, stored.data, stored.names));
    QByteArray expected = "[Data]\nComPort=3\nModemReset=&F\n"
                          "ModemInit=V1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1\n"
                          "ModemSpeed=4\nDialPuls=0\nLineLen=65\nUmbruch=0\n";
    for (int n = 1; n <= 100; ++n)
        expected += "SkriptName" + QByteArray::number(n) + "=\n";
    expected += "CurrSkript=1\n";
    QCOMPARE(folder.readIni(), expected);
}

void TestStartData::namesAndKeysInAnyCase() {
    TempProgramFolder folder;
    folder.writeIni("[DATA]\nskriptname1=Nebenstelle: 21\nSKRIPTNAME100= Ende \n"
                    "SkriptText1=bleibt\n[Ports]\nCOM1=x\n");
    const StoredStartData stored =
        ReadStartDataFromIniFile(IniSnapshot::Load(folder.iniPath()), {true, true, true, true});
    QCOMPARE(stored.names.at(0), QStringLiteral("Nebenstelle: 21"));
    QCOMPARE(stored.names.at(99), QStringLiteral("Ende"));
    QCOMPARE(stored.names.at(1), QString());

    std::array<QString, 100> names = stored.names;
    names.at(1) = QStringLiteral("Zwei");
    IniFile ini(folder.iniPath());
    QVERIFY(WriteStartDataToIniFile(ini, stored.data, names));
    const QByteArray after = folder.readIni();
    QVERIFY(after.startsWith("[DATA]\nskriptname1=Nebenstelle: 21\nSKRIPTNAME100= Ende\n"
                             "SkriptText1=bleibt\nComPort=1\n"));
    QVERIFY(after.contains("\nSkriptName2=Zwei\n"));
    QVERIFY(after.endsWith("\nCurrSkript=1\n[Ports]\nCOM1=x\n"));
}

void TestStartData::failedWriteIsReported() {
    TempProgramFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Telmaris.Ini")));
    IniFile ini(folder.iniPath());
    QString error;
    QVERIFY(!WriteStartDataToIniFile(ini, StartData{}, {}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(SettingsNotSavedMessage(error),
             QStringLiteral("Die Einstellungen konnten nicht gespeichert werden:\r") + error);
}

QTEST_GUILESS_MAIN(TestStartData)
#include "tst_startdata.moc"
