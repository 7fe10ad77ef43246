// The modem simulator program as the end-to-end tests use it: it links a pseudo-terminal to the
// path it is given, answers like a Hayes modem, logs every command and cleans up after itself.
// How it answers in detail is exercised by the runner tests through the real serial stack.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Starts the simulator and waits for the device line it prints; empty when it did not start.
QString Start(QProcess &sim, const QStringList &arguments) {
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), arguments);
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return {};
    return QString::fromUtf8(sim.readLine()).trimmed();
}

void Stop(QProcess &sim) {
    sim.terminate(); // SIGTERM
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

} // namespace

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void answersOnItsLinkLogsAndRemovesTheLink();
    void refusesWithoutALinkAndKeepsRealFiles();
};

void TestModemSim::answersOnItsLinkLogsAndRemovesTheLink() {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyModem"));
    const QString logPath = dir.filePath(QStringLiteral("modem.log"));
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::WriteOnly) && log.write("earlier line\n") > 0);
    log.close();
    // A link left behind by a killed simulator is replaced.
    QVERIFY(QFile::link(QStringLiteral("/dev/pts/nonexistent"), link));
    QProcess sim;
    const QString device =
        Start(sim, {"--link", link, "--log", logPath, "--busy", "--error-on", "S99"});
    QVERIFY2(device.startsWith(QStringLiteral("/dev/pts/")), qPrintable(device));
    QCOMPARE(QFileInfo(link).symLinkTarget(), device);
    {
        QSerialPort port(link);
        port.setBaudRate(9600);
        port.setFlowControl(QSerialPort::HardwareControl);
        QVERIFY(port.open(QIODevice::ReadWrite));
        port.write("AT&F\rATDT123;\rATS99=1\rHELLO\r");
        const QByteArray expected = "\r\nOK\r\n\r\nBUSY\r\n\r\nERROR\r\n\r\nERROR\r\n";
        QByteArray answers;
        while (answers.size() < expected.size() && port.waitForReadyRead(5000))
            answers += port.readAll();
        QCOMPARE(answers, expected);
    }
    Stop(sim);
    QVERIFY(!QFileInfo(link).isSymLink());

    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QByteArray("earlier line"));
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} $)"));
    QVERIFY2(stamp.match(QString::fromLatin1(lines[1].left(24))).hasMatch(), lines[1]);
    QList<QByteArray> commands;
    for (const QByteArray &line : lines.mid(1, 4))
        commands << line.mid(24);
    QCOMPARE(commands, (QList<QByteArray>{"AT&F", "ATDT123;", "ATS99=1", "HELLO"}));
}

void TestModemSim::refusesWithoutALinkAndKeepsRealFiles() {
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--busy"});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains("--link"));

    QTemporaryDir dir;
    QFile notes(dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep me") == 7);
    notes.close();
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--link", notes.fileName()});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains(notes.fileName().toUtf8()));
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
