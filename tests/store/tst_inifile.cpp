// The settings file on disc: atomic writes that keep other content, writing in place where the
// folder allows no other way, failures that are reported, and where the file lives.
#include "store/IniFile.h"

#include "TempProgramFolder.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

using namespace telmaris;
using telmaris::test::TempProgramFolder;

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void writesKeepWhatOthersStored();
    void failedWritesAreReportedAndChangeNothing();
    void readOnlyFolderIsWrittenInPlace_data();
    void readOnlyFolderIsWrittenInPlace();
    void caseVariantNames_data();
    void caseVariantNames();
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

// A writable settings file in a folder where no temporary file can be made is written in
// place; a file that cannot be written either is reported and stays as it was. Permission bits
// bind no superuser, so as root the writer runs as the unprivileged user nobody.
void TestIniFile::readOnlyFolderIsWrittenInPlace_data() {
    QTest::addColumn<bool>("fileWritable");
    QTest::newRow("writable file") << true;
    QTest::newRow("read-only file") << false;
}

void TestIniFile::readOnlyFolderIsWrittenInPlace() {
    QFETCH(bool, fileWritable);
    TempProgramFolder folder;
    const QByteArray before = "; von Hand\n[Ports]\nCOM1=/dev/ttyUSB0\n";
    folder.writeIni(before);
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enterable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(folder.iniPath(), fileWritable ? readable | writable : readable));
    QVERIFY(QFile::setPermissions(folder.path(), readable | enterable));
    const auto restore = qScopeGuard(
        [&] { QFile::setPermissions(folder.path(), readable | enterable | QFile::WriteOwner); });

    QProcess writer;
    const QStringList arguments{folder.iniPath(), QStringLiteral("7")};
    if (geteuid() == 0)
        writer.start(QStringLiteral("setpriv"), QStringList{"--reuid=nobody", "--regid=nogroup",
                                                            "--clear-groups", INI_WRITER_CHILD} +
                                                    arguments);
    else
        writer.start(QStringLiteral(INI_WRITER_CHILD), arguments);
    QVERIFY(writer.waitForFinished(60000));
    const QString output = QString::fromUtf8(writer.readAllStandardOutput());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{IniFileName});
    const QByteArray after = folder.readIni();
    if (!fileWritable) {
        QCOMPARE(writer.exitCode(), 1);
        QVERIFY2(output.contains(QStringLiteral("failed ")) &&
                     !output.section(QStringLiteral("failed "), 1).trimmed().isEmpty(),
                 qPrintable(output)); // with a reason
        QCOMPARE(after, before);
        return;
    }
    QCOMPARE(writer.exitCode(), 0);
    QVERIFY(after.startsWith(before));
    QVERIFY(after.contains("\nSkriptName100=Generation 7\n"));
    QVERIFY(after.contains(" 7\nSkriptText100=MODEM ATZ"));
}

// Beside the program: Telmaris.Ini, or a file whose name differs only in letter case (the
// first in byte order), before the user's configuration folder.
void TestIniFile::caseVariantNames_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("located");
    const auto row = [](const char *name, const QStringList &files, const char *located) {
        QTest::newRow(name) << files << QString::fromUtf8(located);
    };
    row("from Windows", {"TELMARIS.INI"}, "TELMARIS.INI");
    row("first in byte order", {"telmaris.ini", "TELMARIS.ini", "TeLmArIs.InI"}, "TELMARIS.ini");
    row("own name wins", {"TELMARIS.INI", "Telmaris.Ini", "TELMARIS.ini"}, "Telmaris.Ini");
    row("no other names", {"Telmaris.Ini.bak", "Telmaris.In", "TELMARİS.INI"}, "");
}

void TestIniFile::caseVariantNames() {
    QFETCH(QStringList, files);
    QFETCH(QString, located);
    TempProgramFolder folder;
    for (const QString &name : files)
        folder.writeFile(name, "[Data]\n");
    const QString configFile =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/' + IniFileName;
    QCOMPARE(LocateIniFile(folder.path(), [](const QString &) { return false; }),
             located.isEmpty() ? configFile : folder.filePath(located));
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
