// The settings file on disc: atomic writes that keep other content, failures that are reported,
// the Windows code page and where the file lives.
#include "store/IniFile.h"

#include "TempProgramFolder.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtTest>

using namespace telmaris;
using telmaris::test::TempProgramFolder;

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void writesKeepWhatOthersStored();
    void longValuesAreReadWhole();
    void failedWritesAreReportedAndChangeNothing();
    void windows1252FileIsRewrittenInUtf8();
    void killDuringWriteLeavesOldOrNewFile();
    void fileBesideProgramWins();
};

void TestIniFile::writesKeepWhatOthersStored() {
    TempProgramFolder folder;
    IniFile ini(folder.iniPath());
    QVERIFY(ini.WriteIni(QStringLiteral("ComPort"), QStringLiteral("2")));
    // Another running copy stores a script text in between; the next write must keep it.
    folder.writeIni(folder.readIni() + "SkriptText5=WÄHLE 1\n");
    QVERIFY(ini.WriteIni(QStringLiteral("comport"), QStringLiteral("3")));
    QVERIFY(ini.WriteIni(QStringLiteral("CurrSkript"), QStringLiteral("5")));
    QCOMPARE(folder.readIni(),
             QByteArray("[Data]\nComPort=3\nSkriptText5=WÄHLE 1\nCurrSkript=5\n"));
    QCOMPARE(ini.ReadIni(QStringLiteral("skripttext5")), QStringLiteral("WÄHLE 1"));
    QCOMPARE(ini.ReadIni(QStringLiteral("Fehlt")), QString());
}

void TestIniFile::longValuesAreReadWhole() {
    TempProgramFolder folder;
    IniFile ini(folder.iniPath());
    const QString text = QString(40000, u'a') + QStringLiteral("Ende");
    QVERIFY(ini.WriteIni(QStringLiteral("SkriptText1"), text));
    QCOMPARE(IniFile(folder.iniPath()).ReadIni(QStringLiteral("SkriptText1")), text);
}

void TestIniFile::failedWritesAreReportedAndChangeNothing() {
    TempProgramFolder folder;
    // A folder standing where the file must go.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Telmaris.Ini")));
    IniFile blocked(folder.iniPath());
    QString error;
    QVERIFY(!blocked.WriteIni(QStringLiteral("ComPort"), QStringLiteral("2"), &error));
    QVERIFY2(!error.isEmpty(), "no reason given");
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());

    // A path below a plain file: the folder cannot exist.
    QFile plain(folder.filePath(QStringLiteral("Datei")));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("inhalt") == 6);
    plain.close();
    IniFile below(folder.filePath(QStringLiteral("Datei/Telmaris.Ini")));
    error.clear();
    QVERIFY(
        !below.WriteIniBatch(DataSection, {{QStringLiteral("A"), QStringLiteral("1")}}, &error));
    QVERIFY2(!error.isEmpty(), "no reason given");
    QVERIFY(plain.open(QIODevice::ReadOnly));
    QCOMPARE(plain.readAll(), QByteArray("inhalt"));
}

void TestIniFile::windows1252FileIsRewrittenInUtf8() {
    TempProgramFolder folder;
    folder.writeIni("[Data]\r\nSkriptText1=W\xC4HLE 0\\N\\L\r\nSkriptName1=Gro\xDF\r\n");
    IniFile ini(folder.iniPath());
    QCOMPARE(ini.ReadIni(QStringLiteral("SkriptName1")), QStringLiteral("Groß"));
    QVERIFY(ini.WriteIni(QStringLiteral("CurrSkript"), QStringLiteral("1")));
    QCOMPARE(folder.readIni(), QByteArray("[Data]\r\nSkriptText1=W\xC3\x84HLE 0\\N\\L\r\n"
                                          "SkriptName1=Gro\xC3\x9F\r\nCurrSkript=1\r\n"));
}

// A writer killed at random moments leaves a file that is whole: every key of one generation,
// and the lines that were there before the writer started.
void TestIniFile::killDuringWriteLeavesOldOrNewFile() {
    TempProgramFolder folder;
    folder.writeIni("; von Hand\n[Ports]\nCOM1=/dev/pts/9\n");
    QRandomGenerator random = QRandomGenerator::securelySeeded();
    for (int round = 0; round < 10; ++round) {
        QProcess child;
        child.start(QStringLiteral(INI_WRITER_CHILD), {folder.iniPath()});
        QVERIFY(child.waitForStarted());
        // Let it finish a few writes, then kill it somewhere in the next ones.
        const int finished = 1 + random.bounded(3);
        QTRY_VERIFY_WITH_TIMEOUT(child.peek(1 << 16).count('\n') >= finished, 30000);
        QTest::qWait(random.bounded(40));
        child.kill();
        QVERIFY(child.waitForFinished());

        const QByteArray bytes = folder.readIni();
        QVERIFY(bytes.startsWith("; von Hand\n[Ports]\nCOM1=/dev/pts/9\n[Data]\n"));
        const IniSnapshot ini = IniSnapshot::Load(folder.iniPath());
        const QString generation = ini.value(DataSection, QStringLiteral("Generation"));
        QVERIFY(generation.toInt() >= 1);
        for (int key = 1; key <= 107; ++key)
            QCOMPARE(ini.value(DataSection, QStringLiteral("Key%1").arg(key)), generation);
        QCOMPARE(ini.value(DataSection, QStringLiteral("SkriptText1")),
                 QString(200000, u'x') + generation);
    }
}

void TestIniFile::fileBesideProgramWins() {
    TempProgramFolder folder;
    const auto writable = [](const QString &) { return true; };
    const auto readOnly = [](const QString &) { return false; };
    const QString configFile =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/' + IniFileName;

    QCOMPARE(LocateIniFile(folder.path(), writable), folder.iniPath());
    QCOMPARE(LocateIniFile(folder.path() + u'/', writable), folder.iniPath());
    QCOMPARE(LocateIniFile(folder.path()), folder.iniPath());
    QCOMPARE(LocateIniFile(folder.path(), readOnly), configFile);
    folder.writeIni("[Data]\n");
    QCOMPARE(LocateIniFile(folder.path(), readOnly), folder.iniPath());
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
