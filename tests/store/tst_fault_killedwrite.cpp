// A program killed at a random moment while it stores its scripts and settings (200 tries):
// the settings file afterwards is always whole, either as it was or as one of the writes left
// it, holds every script of one generation, and keeps the lines it had beside them.
#include "TempProgramFolder.h"
#include "store/IniFile.h"
#include "store/ScriptSlots.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include <signal.h>
#include <unistd.h>

using namespace telmaris;
using namespace telmaris::test;

namespace {

QString expectedScript(int n, int generation) {
    return QStringLiteral("MODEM ATZ\r\nW\u00c4HLE %1\r\n").arg(n) +
           QString(5000, QChar(u'a' + n % 26)) + u' ' + QString::number(generation);
}

const QByteArray Foreign = "; von Hand eingetragen\n[Ports]\nCOM1=/dev/ttyUSB0\n\n";

// Starts the saver for a generation and returns once it is about to write.
bool startSaver(QProcess &saver, const QString &iniPath, int generation) {
    saver.start(QStringLiteral(INI_WRITER_CHILD), {iniPath, QString::number(generation)});
    return saver.waitForStarted(10000) && saver.waitForReadyRead(10000) &&
           saver.readLine().trimmed() == "writing";
}

} // namespace

class TestFaultKilledWrite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedAtRandomPointsLeavesAWholeFile();
    void aFullDiscInAFolderWithoutRoomForACopyLeavesTheOldFile();
};

void TestFaultKilledWrite::killedAtRandomPointsLeavesAWholeFile() {
    TempProgramFolder folder;
    folder.writeIni(Foreign);

    // Generation 0 written in full; how long one save takes sets the range of kill moments.
    QProcess first;
    QElapsedTimer clock;
    QVERIFY(startSaver(first, folder.iniPath(), 0));
    clock.start();
    QVERIFY(first.waitForFinished(30000));
    const qint64 saveMicroseconds = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    QCOMPARE(first.exitCode(), 0);

    QRandomGenerator random = QRandomGenerator::securelySeeded();
    int generation = 0; // of the scripts in the file
    int unchanged = 0;  // killed before anything was replaced
    int changed = 0;    // killed between the two writes or after both
    for (int attempt = 1; attempt <= 200; ++attempt) {
        QProcess saver;
        QVERIFY(startSaver(saver, folder.iniPath(), attempt));
        QThread::usleep(random.bounded(static_cast<quint64>(saveMicroseconds * 12 / 10)));
        ::kill(static_cast<pid_t>(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished(10000));

        const QByteArray bytes = folder.readIni();
        QVERIFY2(bytes.startsWith(Foreign), "the lines beside the settings were lost");
        const IniSnapshot ini = IniSnapshot::load(folder.iniPath());
        const int found = decodeIniText(ini.value(DataSection, QStringLiteral("SkriptText1")))
                              .section(u' ', -1)
                              .toInt();
        QVERIFY2(
            found == generation || found == attempt,
            qPrintable(QStringLiteral("attempt %1 left generation %2").arg(attempt).arg(found)));
        for (int n = 1; n <= 100; ++n)
            QCOMPARE(decodeIniText(ini.value(DataSection, QStringLiteral("SkriptText%1").arg(n))),
                     expectedScript(n, found));
        ++(found == generation ? unchanged : changed);
        generation = found;
        // A kill in the instant between writing the temporary file and renaming it over the
        // settings file can leave that temporary file behind (nothing can remove it then); it
        // is never read, and nothing else may appear in the program folder.
        for (const QString &name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) {
            if (name == QStringLiteral("Telmaris.Ini"))
                continue;
            QVERIFY2(name.startsWith(QStringLiteral("Telmaris.Ini.")), qPrintable(name));
            QVERIFY(QFile::remove(folder.filePath(name)));
        }
    }
    // The kills really fell inside the saves, not only before or after them.
    QVERIFY(unchanged > 0);
    QVERIFY(changed > 0);
}

// The settings file may be written, its folder may not: no temporary file can be made beside
// it, and it is written in place. With a disc that is full after a few more bytes (a file size
// limit stands in for it) the old file stays as it was; with room the whole new one is there.
void TestFaultKilledWrite::aFullDiscInAFolderWithoutRoomForACopyLeavesTheOldFile() {
    TempProgramFolder folder;
    folder.writeIni(Foreign);
    // The superuser may write into any folder: the writer runs as nobody then, from a copy in
    // the folder, since the build's folder may be closed to others.
    const bool root = ::geteuid() == 0;
    const QString writer = folder.filePath(QStringLiteral("ini_writer_child"));
    QVERIFY(QFile::copy(QStringLiteral(INI_WRITER_CHILD), writer));
    QVERIFY(QFile::setPermissions(folder.iniPath(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadOther | QFileDevice::WriteOther));
    QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                     QFileDevice::ReadOther |
                                                     QFileDevice::ExeOther));
    const auto save = [&](const QStringList &limit) {
        QStringList command{QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; exec \"$@\""),
                            QStringLiteral("sh")};
        if (root)
            command << QStringLiteral("setpriv") << QStringLiteral("--reuid=65534")
                    << QStringLiteral("--regid=65534") << QStringLiteral("--clear-groups");
        command << limit << writer << folder.iniPath() << QStringLiteral("1");
        QProcess saver;
        saver.start(QStringLiteral("sh"), command);
        return saver.waitForFinished(30000) && saver.exitStatus() == QProcess::NormalExit
                   ? saver.exitCode()
                   : -1;
    };
    const QString limit = QStringLiteral("--fsize=%1").arg(Foreign.size() + 4096);
    QCOMPARE(save({QStringLiteral("prlimit"), limit}), 1);
    QCOMPARE(folder.readIni(), Foreign);

    QCOMPARE(save({}), 0);
    const IniSnapshot written = IniSnapshot::load(folder.iniPath());
    QCOMPARE(decodeIniText(written.value(DataSection, QStringLiteral("SkriptText100"))),
             expectedScript(100, 1));
    QCOMPARE(written.value(PortsSection, QStringLiteral("COM1")), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner));
}

QTEST_GUILESS_MAIN(TestFaultKilledWrite)
#include "tst_fault_killedwrite.moc"
