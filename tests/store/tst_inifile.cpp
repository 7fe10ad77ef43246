// The settings file on disc: atomic writes that keep other content, failures that are reported,
// the Windows code page and where the file lives.
#include "store/IniFile.h"

#include "TempProgramFolder.h"

#include <QDir>
#include <QStandardPaths>
#include <QtTest>

using namespace telmaris;
using telmaris::test::TempProgramFolder;

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void writesKeepWhatOthersStored();
    void failedWritesAreReportedAndChangeNothing();
    void windows1252FileIsRewrittenInUtf8();
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

void TestIniFile::failedWritesAreReportedAndChangeNothing() {
    TempProgramFolder folder;
    // A folder standing where the file must go.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Telmaris.Ini")));
    IniFile blocked(folder.iniPath());
    QString error;
    QVERIFY(!blocked.WriteIni(QStringLiteral("ComPort"), QStringLiteral("2"), &error));
    QVERIFY2(!error.isEmpty(), "no reason given");
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

// A file of the older Windows program: every byte is a Windows-1252 character (the five it
// leaves undefined stand for themselves); a write turns the whole file into UTF-8.
void TestIniFile::windows1252FileIsRewrittenInUtf8() {
    TempProgramFolder folder;
    folder.writeIni("; \x80 \x9F \x81\r\n[Data]\r\nSkriptText1=W\xC4HLE 0\\N\\L\r\n"
                    "SkriptName1=Gro\xDF\r\n");
    IniFile ini(folder.iniPath());
    QCOMPARE(ini.ReadIni(QStringLiteral("SkriptName1")), QStringLiteral("Groß"));
    QVERIFY(ini.WriteIni(QStringLiteral("CurrSkript"), QStringLiteral("1")));
    QCOMPARE(folder.readIni(), QByteArray("; \xE2\x82\xAC \xC5\xB8 \xC2\x81\r\n[Data]\r\n"
                                          "SkriptText1=W\xC3\x84HLE 0\\N\\L\r\n"
                                          "SkriptName1=Gro\xC3\x9F\r\nCurrSkript=1\r\n"));
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
