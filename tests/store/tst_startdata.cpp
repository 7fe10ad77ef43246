// The settings record: what start-up takes from the file, or from no file at all.
#include "store/StartDataFile.h"

#include "store/AutoModeSettings.h"
#include "store/IniFile.h"

#include "TempProgramFolder.h"

#include <QtTest>

using namespace telmaris;
using telmaris::test::TempProgramFolder;

class TestStartData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storedValues_data();
    void storedValues();
    void firstStartAsksForThePort();
};

void TestStartData::storedValues_data() {
    QTest::addColumn<QByteArray>("line"); // the line below [Data]
    QTest::addColumn<QString>("expected");
    // COM 3 cannot be opened, but a stored 3 is taken without a message; 65538 would be 2 in
    // 16 bits, but is out of range. "ask": the port check message is due.
    const std::pair<const char *, const char *> rows[] = {
        {"ComPort=3", "3"},         {"ComPort=9", "2 ask"},
        {"ComPort=0", "2 ask"},     {"ComPort=x", "2 ask"},
        {"ComPort=65538", "2 ask"}, {"ComPort=2.5", "2"},
        {"ComPort=3.5", "4"},       {"ModemReset=  Z  ", "Z"},
        {"ModemReset=   ", "&F"},   {"ModemInit=   ", "V1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1"},
        {"ModemSpeed=0", "4"},      {"ModemSpeed=10", "4"},
        {"ModemSpeed=9", "9"},      {"ModemSpeed=65542", "4"},
        {"DialPuls=2", "1"},        {"DialPuls=", "0"},
        {"DialPuls=x", "0"},        {"DialPuls=0.4", "0"},
        {"DialPuls=-1", "1"},       {"LineLen=0", "65"},
        {"LineLen=121", "65"},      {"LineLen=120", "120"},
        {"Umbruch=1", "1"},         {"Umbruch=2", "0"},
        {"CurrSkript=101", "1"},    {"CurrSkript=100", "100"},
        {"CurrSkript=32868", "1"},  {"currskript=7", "7"}};
    for (const auto &[line, expected] : rows)
        QTest::newRow(line) << QByteArray(line) << QString::fromUtf8(expected);
    // The answer time limit of AutoMode runs, with a display and without one; it is read from
    // its own section only.
    const std::pair<const char *, const char *> limits[] = {
        {"5", "5 5"},       {"0", "0 0"},   {"", "0 60"},    {"-5", "0 60"},
        {"sofort", "0 60"}, {"2.5", "3 3"}, {"0.01", "1 1"}, {"40000", "0 60"}};
    for (const auto &[value, expected] : limits)
        QTest::newRow(qPrintable(QStringLiteral("AntwortZeit=%1").arg(value)))
            << "[AutoMode]\r\nantwortzeit=" + QByteArray(value) << QString::fromUtf8(expected);
    QTest::newRow("AntwortZeit in [Data]") << QByteArray("AntwortZeit=5") << "0 60";
}

void TestStartData::storedValues() {
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    TempProgramFolder folder;
    folder.writeIni("[Data]\r\n" + line + "\r\n");
    const StoredStartData s =
        readStartDataFromIniFile(IniSnapshot::load(folder.iniPath()), {false, true, false, true});
    const StartData &d = s.data;
    const IniSnapshot ini = IniSnapshot::load(folder.iniPath());
    const std::map<QByteArray, QString> fields{
        {"comport", QString::number(d.comPort) + (s.askToCheckPort ? " ask" : "")},
        {"modemreset", d.modemReset},
        {"modeminit", d.modemInit},
        {"modemspeed", QString::number(d.modemSpeed)},
        {"dialpuls", QString::number(d.dialPuls)},
        {"linelen", QString::number(d.lineLen)},
        {"umbruch", QString::number(d.umbruch)},
        {"currskript", QString::number(d.currSkript)},
        {"antwortzeit", QStringLiteral("%1 %2")
                            .arg(readAnswerTimeLimit(ini, true))
                            .arg(readAnswerTimeLimit(ini, false))}};
    const QByteArray keyLine = line.mid(line.lastIndexOf('\n') + 1);
    QCOMPARE(fields.at(keyLine.left(keyLine.indexOf('=')).toLower()), expected);
}

// Without a file: the first usable port, the port question due, and no file made by reading.
void TestStartData::firstStartAsksForThePort() {
    TempProgramFolder folder;
    const StoredStartData stored =
        readStartDataFromIniFile(IniSnapshot::load(folder.iniPath()), {false, false, true, true});
    QVERIFY(stored.askToCheckPort);
    QCOMPARE(stored.data.comPort, qint16(3));
    QVERIFY(!QFile::exists(folder.iniPath()));
}

QTEST_GUILESS_MAIN(TestStartData)
#include "tst_startdata.moc"
