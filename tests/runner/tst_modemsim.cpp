// The modem simulator as the program sees it: a serial port that answers like a Hayes modem.

#include "PtyModem.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

using telmaris::modemsim::ModemOptions;
using telmaris::test::PtyModem;

namespace {

// Opens the simulator's device the way the program does: 9600 8N1, RTS/CTS.
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

// Writes a command and collects the answer until it holds `expected` bytes or nothing more
// arrives. The simulator lives in this thread, so the wait must run the event loop.
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

} // namespace

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void answersCommands_data();
    void answersCommands();
};

void TestModemSim::answersCommands_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("reset") << QByteArray("AT&F\r") << QByteArray("\r\nOK\r\n");
    QTest::newRow("init") << QByteArray("ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1\r")
                          << QByteArray("\r\nOK\r\n");
    QTest::newRow("hook off") << QByteArray("ATDT!;\r") << QByteArray("\r\nOK\r\n");
    QTest::newRow("pulse dial") << QByteArray("ATDP123;\r") << QByteArray("\r\nOK\r\n");
    QTest::newRow("hang up") << QByteArray("ATH0\r") << QByteArray("\r\nOK\r\n");
    QTest::newRow("nonsense") << QByteArray("HELLO\r") << QByteArray("\r\nERROR\r\n");
}

void TestModemSim::answersCommands() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    PtyModem modem;
    auto port = openPort(modem.devicePath());
    QVERIFY(port);
    QCOMPARE(exchange(*port, command, answer.size()), answer);
    QCOMPARE(modem.commands(), QList<QByteArray>{command.chopped(1)});
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
