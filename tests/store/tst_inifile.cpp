// Where the settings file lives. Writing it in place, where its folder allows no other way, is
// shown by the killed and the full-disc writes.
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
    void locatesTheFile_data();
    void locatesTheFile();
};

// Beside the program: Telmaris.Ini, or a file whose name differs only in letter case (the
// first in byte order), before the user's configuration folder; a new file goes beside the
// program when its folder is writable.
void TestIniFile::locatesTheFile_data() {
    QTest::addColumn<QString>("programDir"); // inside the temporary folder; "+PATH": on PATH
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<QString>("located"); // empty: in the configuration folder
    const auto row = [](const char *name, const char *programDir, const QStringList &files,
                        bool writable, const char *located) {
        QTest::newRow(name) << QString::fromUtf8(programDir) << files << writable
                            << QString::fromUtf8(located);
    };
    row("new, writable folder", "", {}, true, "Telmaris.Ini");
    row("new, read-only folder", "", {}, false, "");
    row("there, read-only folder", "", {"Telmaris.Ini"}, false, "Telmaris.Ini");
#ifndef Q_OS_WIN // names that differ in letter case only are one file on Windows
    row("first in byte order", "", {"telmaris.ini", "TELMARIS.ini", "TeLmArIs.InI"}, false,
        "TELMARIS.ini");
    row("own name wins", "", {"TELMARIS.INI", "Telmaris.Ini", "TELMARIS.ini"}, false,
        "Telmaris.Ini");
#endif
    row("no other names", "", {"Telmaris.Ini.bak", "Telmaris.In", "TELMARİS.INI"}, false, "");
    // Installed among the system's programs: even where root may write, no file is made there;
    // one that lies there already is used.
    row("usr/bin, as root", "usr/bin", {}, true, "");
    row("usr/local/sbin, as root", "usr/local/sbin", {}, true, "");
    row("a folder on PATH, as root", "tools+PATH", {}, true, "");
    row("usr/bin, file there", "usr/bin", {"Telmaris.Ini"}, true, "Telmaris.Ini");
    row("a folder of its own, as root", "opt/telmaris", {}, true, "Telmaris.Ini");
    // An installer leaves its marker beside the program; a portable copy has none.
    row("installed copy", "Programme/Telmaris", {"Telmaris.installed"}, true, "");
}

void TestIniFile::locatesTheFile() {
    QFETCH(QString, programDir);
    QFETCH(QStringList, files);
    QFETCH(bool, folderWritable);
    QFETCH(QString, located);
    TempProgramFolder temporary;
    const bool onPath = programDir.endsWith(QStringLiteral("+PATH"));
    programDir.remove(QStringLiteral("+PATH"));
    const QString folder = programDir.isEmpty() ? temporary.path() : temporary.filePath(programDir);
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : files)
        temporary.writeFile(programDir.isEmpty() ? name : programDir + u'/' + name, "[Data]\n");
    const QByteArray path = qgetenv("PATH");
    if (onPath)
        qputenv("PATH", QFile::encodeName(QStringList{"/usr/bin", folder + u'/', "/bin"}.join(
                            QDir::listSeparator())));
    const QString configFile = userSettingsFolder() + u'/' + IniFileName;
    const QString found = locateIniFile(folder, [&](const QString &) { return folderWritable; });
    qputenv("PATH", path);
    QCOMPARE(found, located.isEmpty() ? configFile : QDir(folder).filePath(located));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
