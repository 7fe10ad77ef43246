// The serial line through the real serial stack on a pseudo-terminal: the lock conventions of
// other programs and its own flock, why a port cannot be opened, a line whose output stalls, and
// the port map from the settings file and the detected devices.
#include "ports/PortDiagnosis.h"
#include "ports/PortLock.h"
#include "ports/PortMap.h"
#include "ports/SerialLine.h"

#include "PtyModem.h"
#include "TempProgramFolder.h"
#include "store/IniFile.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace telmaris;
using telmaris::test::PtyModem;

namespace {

// True when nobody else holds a flock on the device.
bool othersCanLock(const QString &device) {
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    const bool free = fd >= 0 && takeExclusiveFlock(fd);
    ::close(fd);
    return free;
}

// A copy of the system's program at path, which then runs under that file's name.
QString copyOf(const QString &program, const QString &path) {
    if (!QFile::copy(QStandardPaths::findExecutable(program), path))
        qFatal("cannot copy %s", qPrintable(program));
    return path;
}

} // namespace

class TestSerialLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void honoursLockFiles_data();
    void honoursLockFiles();
    void tellsWhatTheUserCanDo();
    void remedyFitsTheDevicesRights_data();
    void remedyFitsTheDevicesRights();
    void stalledOutputIsOneErrorEvent();
    void readsThePortMapFromTheSettingsFile();
};

// A device another program holds, by a lock file or by a flock as dial-up programs take it,
// is refused with the program's name; stale lock files (the process gone, or its number now
// used by another program after a crash) and this process's own are not.
void TestSerialLine::honoursLockFiles_data() {
    QTest::addColumn<QString>("owner"); // the process the lock file names
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("opens");
    const auto row = [](const char *name, const char *owner, const char *form, bool opens) {
        QTest::newRow(name) << QString(owner) << QString(form) << opens;
    };
    row("living process, padded ASCII", "living", "ascii", false);
    row("living process, name and user behind the number", "living", "minicom", false);
    row("living process, named as it runs", "living", "named sleep", false);
    row("living process on another host", "living", "named elsewhere", false);
    row("number reused by another program", "living", "named miniterm", true);
    row("living process, binary", "living", "binary", false);
    row("ModemManager", "ModemManager", "ascii", false); // the reason tells how to tame it
    row("finished process", "finished", "ascii", true);
    row("this process", "self", "ascii", true);
    row("this process, another holds a flock", "self", "flock", false);
}

void TestSerialLine::honoursLockFiles() {
    QFETCH(QString, owner);
    QFETCH(QString, form);
    QFETCH(bool, opens);
    PtyModem modem;
    QTemporaryDir dir;
    const QString name = QStringLiteral("ttyLock%1").arg(::getpid());
    QVERIFY(modem->createLink(dir.filePath(name)));

    QProcess other;
    if (form == "flock") // it says when it holds the device
        other.start(QStringLiteral("flock"),
                    {"-o", "-x", modem.devicePath(), "sh", "-c", "echo held; exec sleep 30"});
    else if (owner == "ModemManager") // a program is named by its file
        other.start(copyOf(QStringLiteral("sleep"), dir.filePath(owner)), {"30"});
    else
        other.start(owner == "living" ? QStringLiteral("sleep") : QStringLiteral("true"), {"30"});
    QVERIFY(form == "flock" ? other.waitForReadyRead() : other.waitForStarted());
    qint64 pid = owner == "self" ? ::getpid() : other.processId();
    if (owner == "finished")
        QVERIFY(other.waitForFinished());
    QByteArray content = QByteArray::number(pid).rightJustified(10) + '\n';
    if (form == "minicom")
        content = QByteArray::number(pid).rightJustified(10) + " minicom root\n";
    else if (form.startsWith("named")) // as Qt writes it: number, program, host
        content = QByteArray::number(pid) + '\n' + (form.endsWith("sleep") ? "sleep" : "miniterm") +
                  '\n' +
                  (form.endsWith("elsewhere") ? QByteArray("otherhost")
                                              : QSysInfo::machineHostName().toUtf8()) +
                  '\n';
    else if (form == "binary")
        content = QByteArray(reinterpret_cast<const char *>(&pid), 4); // little-endian
    // The reused number's lock lies where Qt's own lock goes, which takes it over.
    const bool takenOver = form == "named miniterm";
    QFile lock(takenOver
                   ? QDir(lockFolders().first()).filePath(lockFileNames(dir.filePath(name)).at(1))
                   : QStringLiteral("/tmp/LCK..") + name);
    QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write(content) == content.size());
    lock.close();

    SerialLine line;
    QString reason;
    QCOMPARE(line.open(dir.filePath(name), 9600, true, &reason), opens);
    if (takenOver) {
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(readLockFile(lock.readAll())->pid, QCoreApplication::applicationPid());
        lock.close();
        line.close();
        QVERIFY(!lock.exists());
        other.kill();
        other.waitForFinished();
        return;
    }
    // The reason names the program that holds the device, and the lock file that says so.
    if (!opens)
        QVERIFY2(reason.startsWith(QString::fromUtf8("Das Gerät %1 ist belegt: „%2“ (Prozess %3) "
                                                     "hält es. Beenden Sie dieses Programm")
                                       .arg(dir.filePath(name), form == "flock"     ? "flock"
                                                                : owner == "living" ? "sleep"
                                                                                    : owner)
                                       .arg(other.processId())) &&
                     reason.contains(lock.fileName()) == (form != "flock") &&
                     (owner != "ModemManager" ||
                      (reason.contains(QString::fromUtf8("ModemManager läuft: Er prüft ein frisch "
                                                         "eingestecktes Modem")) &&
                       reason.contains(QString::fromUtf8("„sudo systemctl disable --now "
                                                         "ModemManager“ schaltet ihn dauerhaft "
                                                         "ab.")))),
                 qPrintable(reason));
    // A refused open holds nothing; an open line holds a flock that keeps others off until it
    // is closed. Once the other program is gone, the device opens.
    other.kill();
    other.waitForFinished();
    QCOMPARE(othersCanLock(modem.devicePath()), !opens);
    line.close();
    QVERIFY(othersCanLock(modem.devicePath()));
    QVERIFY(line.open(dir.filePath(name), 9600, true));
    // Whatever was decided, the other program's file is left alone.
    QVERIFY(lock.open(QIODevice::ReadOnly));
    QCOMPARE(lock.readAll(), content);
    lock.remove();
}

// A device only root may open, as the system reports it to the user nobody: joining its group
// would not help. (The device's group that nobody may join is run by the program's own test.)
void TestSerialLine::tellsWhatTheUserCanDo() {
    if (::geteuid() != 0)
        QSKIP("only root can run the check as another user");
    PtyModem modem;
    const QByteArray device = QFile::encodeName(modem.devicePath());
    QVERIFY(::chown(device.constData(), 0, 0) == 0 && ::chmod(device.constData(), 0600) == 0);
    QProcess child;
    child.start(QStringLiteral("setpriv"),
                {"--reuid=65534", "--regid=65534", "--clear-groups", DIAGNOSE_CHILD, device});
    QVERIFY(child.waitForFinished(10000));
    const QString reason = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(reason.endsWith(QString::fromUtf8(
                 "Das Gerät gehört root (Gruppe root, Rechte 600), und nur root darf es öffnen. "
                 "Abhilfe: eine udev-Regel, die der Gruppe dialout Lese- und Schreibrecht gibt; "
                 "die Hilfe zeigt sie unter „Zugriff auf die Schnittstelle“.")),
             qPrintable(reason + child.readAllStandardError()));
}

void TestSerialLine::remedyFitsTheDevicesRights_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("listed"); // in the group from the next log-in
    QTest::addColumn<QString>("remedy");
    const QString rule = QString::fromUtf8("Abhilfe: eine udev-Regel");
    QTest::newRow("group may not write") << 0640 << "root" << false << rule;
    QTest::newRow("only its owner") << 0600 << "anna" << true << "nur anna und root darf";
    QTest::newRow("joined, not yet logged in")
        << 0660 << "root" << true << "ab- und wieder anmelden";
    QTest::newRow("not in the group") << 0660 << "root" << false << "sudo adduser bert dialout";
}

void TestSerialLine::remedyFitsTheDevicesRights() {
    QFETCH(int, mode);
    QFETCH(QString, owner);
    QFETCH(bool, listed);
    QFETCH(QString, remedy);
    DeviceAccess access{QStringLiteral("/dev/ttyACM0"),
                        static_cast<unsigned>(mode),
                        owner,
                        QStringLiteral("dialout"),
                        QStringLiteral("bert"),
                        false,
                        listed};
    const QString reason = permissionReason(access);
    QVERIFY2(reason.contains(remedy), qPrintable(reason));
    QCOMPARE(reason.contains(QStringLiteral("adduser")), (mode & 060) == 060 && !listed);
    // The line below "no usable port" gives the remedy only where joining the group helps.
    const QString joinOrLogIn = listed ? QStringLiteral("Abhilfe: sich ab- und wieder anmelden")
                                       : QStringLiteral("Abhilfe: im Terminal „sudo adduser bert");
    QCOMPARE(groupRemedy(access).startsWith(joinOrLogIn), (mode & 060) == 060);
}

void TestSerialLine::stalledOutputIsOneErrorEvent() {
    PtyModem modem;
    // Stopping the terminal's output holds back what the program writes, as a modem that is
    // switched off holds back CTS.
    const int slave =
        ::open(QFile::encodeName(modem.devicePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(slave >= 0);
    SerialLine line;
    line.setDrainTimeout(300);
    QVERIFY(line.open(modem.devicePath(), 9600, true));
    QSignalSpy errors(&line, &SerialLine::errorEvent);
    line.write("AT\r"); // flows
    QTRY_COMPARE(modem.commands(), QList<QByteArray>{"AT"});
    QTest::qWait(600);
    QVERIFY(errors.isEmpty());

    QCOMPARE(::tcflow(slave, TCOOFF), 0);
    line.write("ATH0\r");
    // A pseudo-terminal refuses the bytes at once (a resource error); a serial port takes
    // them into its queue, which then does not drain (a time-out). Either is an error event.
    QTRY_COMPARE(errors.size(), 1);
    const auto error = errors.at(0).at(0).value<LineError>();
    QVERIFY(error == LineError::Gone || error == LineError::OutputStuck);
    QTest::qWait(400);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(modem.commands(), QList<QByteArray>{"AT"});
    ::tcflow(slave, TCOON);
    line.close();
    ::close(slave);
}

void TestSerialLine::readsThePortMapFromTheSettingsFile() {
    PtyModem first;
    test::TempProgramFolder folder;
    folder.writeIni("[Data]\r\nComPort=2\r\n[Ports]\r\ncom1 =  " + first.devicePath().toUtf8() +
                    "  \r\nCOM2=" + folder.filePath("ttyMissing").toUtf8() + "\r\nCOM4=\r\n");
    PortMap ports = PortMap::fromIni(IniSnapshot::load(folder.iniPath()));
    QCOMPARE(ports.device(1), first.devicePath());
    QCOMPARE(ports.device(3), QStringLiteral("/dev/ttyS2"));
    // Devices the system reports fill the COM numbers whose default is no real hardware, USB
    // modems first, by their stable names; not where the file names devices.
    SerialDevices detected{
        {"", "", "", "/dev/ttyUSB0"},
        {"", "", "", "/dev/ttyS0"},
        {"Modem", "Acme", "/dev/serial/by-id/usb-Acme_Modem-if00", "/dev/ttyACM3"}};
    sortForComNumbers(detected);
    PortMap fresh;
    fresh.fillFrom(detected);
    QCOMPARE(QStringList({fresh.device(1), fresh.device(2), fresh.device(3), fresh.device(4)}),
             QStringList({"/dev/ttyS0", "/dev/serial/by-id/usb-Acme_Modem-if00", "/dev/ttyUSB0",
                          "/dev/ttyS3"}));
    ports.fillFrom(detected);
    QCOMPARE(ports.device(3), QStringLiteral("/dev/ttyS2"));
}

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
