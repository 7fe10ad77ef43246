// The serial line through the real QSerialPort on a pseudo-terminal: opening, the lock
// conventions of other programs, the port map and probe, and the error events of a line that
// vanishes or stalls.
#include "runner/PortLock.h"
#include "runner/PortMap.h"
#include "runner/SerialLine.h"

#include "PtyModem.h"
#include "TempProgramFolder.h"
#include "store/IniFile.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace telmaris;
using telmaris::test::PtyModem;

namespace {

// A lock file as terminal programs write it, removed again at the end of the test.
struct LockFile {
    LockFile(const QString &deviceName, const QByteArray &content)
        : path(QStringLiteral("/tmp/LCK..") + deviceName) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }
    ~LockFile() { QFile::remove(path); }
    QString path;
};

QByteArray AsciiPid(qint64 pid) {
    return QByteArray::number(pid).rightJustified(10) + '\n';
}

// Everything written to standard error while it is alive.
class StderrCapture {
public:
    StderrCapture() {
        file_.open();
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(file_.handle(), STDERR_FILENO);
    }
    QString finish() {
        ::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        file_.seek(0);
        return QString::fromUtf8(file_.readAll());
    }

private:
    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace

class TestSerialLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exchangesWithTheModem();
    void readsLockFilePids_data();
    void readsLockFilePids();
    void honoursLockFiles_data();
    void honoursLockFiles();
    void holdsAFlockWhileOpen();
    void vanishedLineClosesThePort();
    void stalledOutputIsAnErrorEvent();
    void probesTheFourPorts();
    void readsPortsFromTheSettingsFile();
};

void TestSerialLine::exchangesWithTheModem() {
    PtyModem modem;
    SerialLine line;
    QString reason;
    QVERIFY2(line.open(modem.devicePath(), 28800, true, &reason), qPrintable(reason));
    QVERIFY(line.isOpen());
    QSignalSpy received(&line, &SerialLine::received);
    QSignalSpy errors(&line, &SerialLine::errorEvent);
    line.write("AT\r");
    QByteArray answer;
    QTRY_VERIFY((answer = [&] {
                    QByteArray all;
                    for (const auto &args : received)
                        all += args.at(0).toByteArray();
                    return all;
                }()) == "\r\nOK\r\n");
    QCOMPARE(modem.commands(), QList<QByteArray>{"AT"});
    QVERIFY(errors.isEmpty());
    line.close();
    QVERIFY(!line.isOpen());
}

void TestSerialLine::readsLockFilePids_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("pid");
    QTest::newRow("padded ascii") << QByteArray("      4711\n") << qint64(4711);
    QTest::newRow("with program name") << QByteArray("4711\nminiterm\nhost\n") << qint64(4711);
    QTest::newRow("binary") << QByteArray("\x67\x12\x00\x00", 4) << qint64(4711);
    QTest::newRow("garbage") << QByteArray("frei\n") << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
}

void TestSerialLine::readsLockFilePids() {
    QFETCH(QByteArray, content);
    QFETCH(qint64, pid);
    QCOMPARE(ReadLockFilePid(content).value_or(-1), pid);
}

void TestSerialLine::honoursLockFiles_data() {
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("opens");
    QTest::newRow("living process") << "living" << false;
    QTest::newRow("finished process") << "finished" << true;
    QTest::newRow("this process") << "self" << true;
    QTest::newRow("no process id") << "garbage" << true;
}

void TestSerialLine::honoursLockFiles() {
    QFETCH(QString, owner);
    QFETCH(bool, opens);
    PtyModem modem;
    QTemporaryDir dir;
    const QString name = QStringLiteral("ttyLock%1").arg(::getpid());
    QVERIFY(modem->createLink(dir.filePath(name)));

    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(other.waitForStarted());
    QByteArray content = AsciiPid(other.processId());
    if (owner == QLatin1String("finished")) {
        QProcess done;
        done.start(QStringLiteral("true"), {});
        QVERIFY(done.waitForFinished());
        content = AsciiPid(done.processId());
    } else if (owner == QLatin1String("self")) {
        content = AsciiPid(::getpid());
    } else if (owner == QLatin1String("garbage")) {
        content = "frei\n";
    }
    const LockFile lock(name, content);

    SerialLine line;
    QString reason;
    QCOMPARE(line.open(dir.filePath(name), 9600, true, &reason), opens);
    if (!opens) {
        QVERIFY2(reason.contains(lock.path) && reason.contains(QLatin1String("ModemManager")),
                 qPrintable(reason));
    }
    // Whatever we decided, the other program's file is left alone.
    QFile file(lock.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    other.kill();
    other.waitForFinished();
}

void TestSerialLine::holdsAFlockWhileOpen() {
    PtyModem modem;
    const QByteArray device = QFile::encodeName(modem.devicePath());
    const auto othersCanLock = [&device] {
        const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool free = fd >= 0 && TakeExclusiveFlock(fd);
        ::close(fd);
        return free;
    };
    SerialLine line;
    QVERIFY(line.open(modem.devicePath(), 9600, true));
    QVERIFY(!othersCanLock());
    SerialLine second;
    QString reason;
    QVERIFY(!second.open(modem.devicePath(), 9600, true, &reason));
    QVERIFY2(reason.contains(QLatin1String("ModemManager")), qPrintable(reason));
    line.close();
    QVERIFY(othersCanLock());
}

void TestSerialLine::vanishedLineClosesThePort() {
    PtyModem modem;
    SerialLine line;
    QVERIFY(line.open(modem.devicePath(), 9600, true));
    QSignalSpy errors(&line, &SerialLine::errorEvent);
    modem->dropLine();
    QTRY_VERIFY(!errors.isEmpty());
    QVERIFY(!line.isOpen());
    // Closed at once: the port does not go on reporting the same error.
    QTest::qWait(200);
    QCOMPARE(errors.size(), 1);
}

void TestSerialLine::stalledOutputIsAnErrorEvent() {
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
    const auto error = errors.at(0).at(0).value<QSerialPort::SerialPortError>();
    QVERIFY2(error == QSerialPort::ResourceError || error == QSerialPort::TimeoutError,
             QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error));
    QTest::qWait(400);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(modem.commands(), QList<QByteArray>{"AT"});
    ::tcflow(slave, TCOON);
    line.close();
    ::close(slave);
}

void TestSerialLine::probesTheFourPorts() {
    PtyModem first;
    PtyModem fourth;
    QTemporaryDir dir;
    const QString lockedName = QStringLiteral("ttyProbe%1").arg(::getpid());
    PtyModem locked;
    QVERIFY(locked->createLink(dir.filePath(lockedName)));
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(other.waitForStarted());
    const LockFile lock(lockedName, AsciiPid(other.processId()));

    PortMap ports;
    ports.setDevice(1, first.devicePath());
    ports.setDevice(2, dir.filePath(QStringLiteral("ttyMissing")));
    ports.setDevice(3, dir.filePath(lockedName));
    ports.setDevice(4, fourth.devicePath());

    StderrCapture capture;
    const PortProbe probe = CheckComPorts(ports);
    const QString err = capture.finish();

    QCOMPARE(probe.usable, (std::array<bool, 4>{true, false, false, true}));
    QVERIFY(probe.anyUsable());
    const QStringList lines = err.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith("COM2 (" + ports.device(2) + "): "), qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith("COM3 (" + ports.device(3) + "): "), qPrintable(lines[1]));
    QVERIFY2(lines[1].contains(QLatin1String("ModemManager")), qPrintable(lines[1]));
    // The probe gave every port back.
    SerialLine again;
    QVERIFY(again.open(first.devicePath(), 9600, true));
    QVERIFY(first->received().isEmpty());
    other.kill();
    other.waitForFinished();
}

void TestSerialLine::readsPortsFromTheSettingsFile() {
    test::TempProgramFolder folder;
    folder.writeIni("[Data]\r\nComPort=2\r\n[Ports]\r\ncom2 =  /dev/ttyUSB0  \r\nCOM4=\r\n");
    const PortMap ports = PortMap::FromIni(IniSnapshot::Load(folder.iniPath()));
    QCOMPARE(ports.device(1), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(ports.device(2), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(ports.device(3), QStringLiteral("/dev/ttyS2"));
    QCOMPARE(ports.device(4), QStringLiteral("/dev/ttyS3"));
}

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
