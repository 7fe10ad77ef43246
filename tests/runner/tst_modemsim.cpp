// The modem simulator as the program sees it: a serial port that answers like a Hayes modem.

#include "PtyModem.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using telmaris::modemsim::ModemOptions;
using telmaris::test::PtyModem;

namespace {

// Opens a device the way the program does: 9600 8N1, RTS/CTS.
std::unique_ptr<QSerialPort> openPort(const QString &device) {
    auto port = std::make_unique<QSerialPort>(device);
    port->setBaudRate(9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::HardwareControl);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    return port;
}

// Writes bytes and collects what comes back until it holds `expected` bytes or nothing more
// arrives. The in-process simulator needs the event loop, so the wait runs it.
QByteArray exchange(QSerialPort &port, const QByteArray &command, qsizetype expected) {
    QSignalSpy arrived(&port, &QSerialPort::readyRead);
    port.write(command);
    QByteArray answer;
    while (answer.size() < expected) {
        if (port.bytesAvailable() == 0 && !arrived.wait(5000))
            break;
        answer += port.readAll();
    }
    return answer;
}

const QByteArray ok = "\r\nOK\r\n";
const QByteArray error = "\r\nERROR\r\n";
const QByteArray busy = "\r\nBUSY\r\n";

} // namespace

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void answersCommands_data();
    void answersCommands();
    void busyAnswersDialCommands();
    void errorOnMatchesAnyLetterCase();
    void echoFollowsE0E1AndComesBackWithReset();
    void numericResultCodes();
    void silentModemRecordsButNeverAnswers();
    void rawBytesAndDelayedAnswers();
    void droppedLineVanishesUnderThePort();
    void recordsCommandsWithTimeInMemoryAndLog();
    void programAnswersOnItsLinkAndRemovesIt();
    void programDropsItsLinkWithTheLine();
    void programRejectsAMissingLink();
    void programReplacesAStaleLinkButNoFile();
};

void TestModemSim::answersCommands_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("reset") << QByteArray("AT&F\r") << ok;
    QTest::newRow("default init") << QByteArray("ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1\r") << ok;
    QTest::newRow("off hook") << QByteArray("ATDT!;\r") << ok;
    QTest::newRow("pulse dial") << QByteArray("ATDP123;\r") << ok;
    QTest::newRow("tone dial, every dial character") << QByteArray("ATDT 0,W*#!@P T 19;\r") << ok;
    QTest::newRow("plain dial") << QByteArray("ATD5\r") << ok;
    QTest::newRow("hang up") << QByteArray("ATH0\r") << ok;
    QTest::newRow("hang up, no digit") << QByteArray("ATH\r") << ok;
    QTest::newRow("bare AT") << QByteArray("AT\r") << ok;
    QTest::newRow("small letters") << QByteArray("at&f\r") << ok;
    QTest::newRow("mixed letters") << QByteArray("aT z\r") << ok;
    QTest::newRow("register query") << QByteArray("ATS7?\r") << "\r\n050\r\n" + ok;
    QTest::newRow("register set, then queried") << QByteArray("ATS7=60S7?\r") << "\r\n060\r\n" + ok;
    QTest::newRow("two lines in one write") << QByteArray("ATZ\rATE0\r") << ok + ok;
    QTest::newRow("quiet mode answers nothing") << QByteArray("ATQ1\rATQ0\r") << ok;
    QTest::newRow("lone CR is ignored") << QByteArray("\rAT\r") << ok;
    QTest::newRow("backspace edits the line") << QByteArray("ATJ\bH0\r") << ok;
    QTest::newRow("nonsense") << QByteArray("HELLO\r") << error;
    QTest::newRow("unknown command") << QByteArray("ATJ\r") << error;
    QTest::newRow("setting out of range") << QByteArray("ATX9\r") << error;
    QTest::newRow("register out of range") << QByteArray("ATS300=1\r") << error;
    QTest::newRow("value out of range") << QByteArray("ATS7=256\r") << error;
    QTest::newRow("register without number") << QByteArray("ATS=1\r") << error;
    QTest::newRow("letter in dial string") << QByteArray("ATDT12K;\r") << error;
    QTest::newRow("ampersand other than F") << QByteArray("AT&W\r") << error;
    QTest::newRow("overlong line") << "AT" + QByteArray(5000, ' ') + '\r' << error;
}

void TestModemSim::answersCommands() {
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, answer);
    PtyModem modem;
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, sent, answer.size()), answer);
    QList<QByteArray> lines = sent.split('\r');
    lines.removeLast();
    if (sent.size() < 4096) // an overlong line is recorded cut
        QCOMPARE(modem.commands(), lines);
}

void TestModemSim::busyAnswersDialCommands() {
    ModemOptions options;
    options.busy = true;
    PtyModem modem(options);
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, "ATDT123;\r", busy.size()), busy);
    QCOMPARE(exchange(*port, "ATDP1;\r", busy.size()), busy);
    QCOMPARE(exchange(*port, "ATH0\r", ok.size()), ok);
    modem->setBusy(false);
    QCOMPARE(exchange(*port, "ATDT123;\r", ok.size()), ok);
}

void TestModemSim::errorOnMatchesAnyLetterCase() {
    ModemOptions options;
    options.errorOn = "dt12";
    PtyModem modem(options);
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, "ATDT123;\r", error.size()), error);
    QCOMPARE(exchange(*port, "ATDP123;\r", ok.size()), ok);
    QCOMPARE(exchange(*port, "atdt129;\r", error.size()), error);
    QCOMPARE(modem.commands(), (QList<QByteArray>{"ATDT123;", "ATDP123;", "atdt129;"}));
}

void TestModemSim::echoFollowsE0E1AndComesBackWithReset() {
    ModemOptions options;
    options.echo = true;
    PtyModem modem(options);
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, "AT\r", 3 + ok.size()), "AT\r" + ok);
    QCOMPARE(exchange(*port, "ATE0\r", 5 + ok.size()), "ATE0\r" + ok);
    QCOMPARE(exchange(*port, "AT\r", ok.size()), ok);
    // &F restores the start settings, with echo on.
    QCOMPARE(exchange(*port, "AT&F\r", ok.size()), ok);
    QCOMPARE(exchange(*port, "ATH0\r", 5 + ok.size()), "ATH0\r" + ok);
    // E1 switches echo on in a modem that started without it.
    PtyModem quiet;
    auto other = openPort(quiet.devicePath());
    QVERIFY(other);
    QCOMPARE(exchange(*other, "ATE1\r", ok.size()), ok);
    QCOMPARE(exchange(*other, "AT\r", 3 + ok.size()), "AT\r" + ok);
}

void TestModemSim::numericResultCodes() {
    ModemOptions options;
    options.numeric = true;
    PtyModem modem(options);
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, "AT\r", 2), QByteArray("0\r"));
    QCOMPARE(exchange(*port, "HELLO\r", 2), QByteArray("4\r"));
    modem->setBusy(true);
    QCOMPARE(exchange(*port, "ATDT1;\r", 2), QByteArray("7\r"));
    QCOMPARE(exchange(*port, "ATV1\r", ok.size()), ok);
    QCOMPARE(exchange(*port, "ATV0\r", 2), QByteArray("0\r"));
}

void TestModemSim::silentModemRecordsButNeverAnswers() {
    ModemOptions options;
    options.silent = true;
    options.echo = true;
    PtyModem modem(options);
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QSignalSpy received(&modem.modem(), &telmaris::modemsim::ModemSimulator::commandReceived);
    port->write("ATDT123;\r");
    QVERIFY(received.wait(5000));
    QCOMPARE(received.first().first().toByteArray(), QByteArray("ATDT123;"));
    // Whatever a silent modem had answered would come before the next answer.
    modem->setSilent(false);
    QCOMPARE(exchange(*port, "ATE0\r", 5 + ok.size()), "ATE0\r" + ok);
    QCOMPARE(modem.commands(), (QList<QByteArray>{"ATDT123;", "ATE0"}));
}

void TestModemSim::rawBytesAndDelayedAnswers() {
    PtyModem modem;
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    // An answer split at any byte arrives as sent, piece after piece.
    modem->sendRaw("\r\nO");
    modem->sendRaw("K\r");
    modem->sendRaw(QByteArray("\n\x01\xff", 3));
    QCOMPARE(exchange(*port, {}, 8), QByteArray("\r\nOK\r\n\x01\xff", 8));
    // A delayed answer comes after bytes put on the line once the command was received.
    modem->setAnswerDelay(50);
    connect(&modem.modem(), &telmaris::modemsim::ModemSimulator::commandReceived, this,
            [&modem] { modem->sendRaw("NOISE"); });
    QCOMPARE(exchange(*port, "AT\r", 5 + ok.size()), "NOISE" + ok);
}

void TestModemSim::droppedLineVanishesUnderThePort() {
    ModemOptions options;
    options.dropAfter = 2;
    PtyModem modem(options);
    const QString device = modem.devicePath();
    auto port = openPort(device);
    QVERIFY(port);
    QCOMPARE(exchange(*port, "AT&F\r", ok.size()), ok);
    QSignalSpy errors(port.get(), &QSerialPort::errorOccurred);
    QSignalSpy dropped(&modem.modem(), &telmaris::modemsim::ModemSimulator::lineDropped);
    port->write("ATDT123;\r");
    QVERIFY(dropped.wait(5000));
    QTRY_VERIFY(!errors.isEmpty());
    const auto failure = errors.first().first().value<QSerialPort::SerialPortError>();
    QVERIFY2(failure == QSerialPort::ReadError || failure == QSerialPort::ResourceError,
             qPrintable(port->errorString()));
    port->close(); // a port left open on a vanished device would keep signalling
    QVERIFY(!QFileInfo::exists(device));
    QCOMPARE(modem.commands(), (QList<QByteArray>{"AT&F", "ATDT123;"}));
    QVERIFY(!openPort(device));
}

void TestModemSim::recordsCommandsWithTimeInMemoryAndLog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString logPath = dir.filePath(QStringLiteral("modem.log"));
    QFile old(logPath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier line\n");
    old.close();

    PtyModem modem;
    QVERIFY(modem->setLogFile(logPath));
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    const QDateTime before = QDateTime::currentDateTime();
    QCOMPARE(exchange(*port, "AT&F\r", ok.size()), ok);
    QCOMPARE(exchange(*port, "ATDT!;\r", ok.size()), ok);
    const QDateTime after = QDateTime::currentDateTime();

    const auto &commands = modem->commands();
    QCOMPARE(commands.size(), 2);
    QVERIFY(before <= commands[0].time && commands[0].time <= commands[1].time);
    QVERIFY(commands[1].time <= after);

    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QByteArray("earlier line"));
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )"));
    QVERIFY2(stamp.match(QString::fromLatin1(lines[1])).hasMatch(), lines[1]);
    QCOMPARE(lines[1].mid(24), QByteArray("AT&F"));
    QCOMPARE(lines[2].mid(24), QByteArray("ATDT!;"));
    QCOMPARE(lines[3], QByteArray());
}

void TestModemSim::programAnswersOnItsLinkAndRemovesIt() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ttyModem"));
    const QString logPath = dir.filePath(QStringLiteral("modem.log"));
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM),
              {"--link", link, "--log", logPath, "--busy", "--error-on", "S99"});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY(sim.canReadLine());
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    QVERIFY2(device.startsWith(QStringLiteral("/dev/pts/")), qPrintable(device));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);

    {
        auto port = openPort(link);
        QVERIFY(port);
        QByteArray answers;
        QSignalSpy arrived(port.get(), &QSerialPort::readyRead);
        port->write("AT&F\rATDT123;\rATS99=1\r");
        const QByteArray expected = ok + busy + error;
        while (answers.size() < expected.size() && (port->bytesAvailable() || arrived.wait(5000)))
            answers += port->readAll();
        QCOMPARE(answers, expected);
    }

    sim.terminate(); // SIGTERM
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0].mid(24), QByteArray("AT&F"));
    QCOMPARE(lines[1].mid(24), QByteArray("ATDT123;"));
    QCOMPARE(lines[2].mid(24), QByteArray("ATS99=1"));
}

void TestModemSim::programDropsItsLinkWithTheLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ttyModem"));
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--link", link, "--drop-after", "1"});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY(sim.canReadLine());
    auto port = openPort(link);
    QVERIFY(port);
    QSignalSpy errors(port.get(), &QSerialPort::errorOccurred);
    port->write("AT\r");
    QTRY_VERIFY(!errors.isEmpty());
    port->close();
    QTRY_VERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(sim.state(), QProcess::Running); // it still runs until killed
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
}

void TestModemSim::programRejectsAMissingLink() {
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--busy"});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains("--link"));
    QCOMPARE(sim.readAllStandardOutput(), QByteArray());
}

void TestModemSim::programReplacesAStaleLinkButNoFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A link left behind by a killed simulator is replaced.
    const QString link = dir.filePath(QStringLiteral("ttyModem"));
    QVERIFY(QFile::link(QStringLiteral("/dev/pts/nonexistent"), link));
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--link", link});
    QVERIFY(sim.waitForStarted());
    QTRY_VERIFY(sim.canReadLine());
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));

    // A real file is never overwritten.
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    QFile notes(file);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("keep me");
    notes.close();
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--link", file});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains(file.toUtf8()));
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
