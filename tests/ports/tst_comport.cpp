// The Windows serial line on COM 1, which the test's Wine prefix leads to the modem simulator:
// what goes out and comes back, a port that is not there or is held, the modem's end noticed at
// once, an unattended run of the built program, and which of a port's error flags end a run
// (Wine reports none of them).
#include "HostModem.h"
#include "TempProgramFolder.h"
#include "ports/CommErrors.h"
#include "ports/PortMap.h"
#include "ports/SerialLine.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <windows.h>

using namespace telmaris;
using telmaris::test::HostModem;
using telmaris::test::TempProgramFolder;

class TestComPort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errorFlagsThatEndARun();
    void talksToTheModemAndNoticesItsEnd();
    void portsThatCannotBeOpened();
    void usbModemTakesAFreeComNumber();
    void unattendedRun();
};

void TestComPort::errorFlagsThatEndARun() {
    const std::optional<LineError> none;
    const std::pair<unsigned long, std::optional<LineError>> rows[] = {
        {0, none},
        {CE_FRAME, none}, // such a character arrives as a NUL byte
        {CE_OVERRUN, LineError::Failed},
        {CE_RXOVER, LineError::Failed},
        {CE_BREAK, LineError::Failed},
        {CE_RXPARITY, LineError::Failed},
        {CE_FRAME | CE_BREAK, LineError::Failed},
    };
    for (const auto &[flags, outcome] : rows)
        QVERIFY2(lineErrorOfCommErrors(flags) == outcome, qPrintable(QString::number(flags, 16)));
}

void TestComPort::talksToTheModemAndNoticesItsEnd() {
    TempProgramFolder folder;
    HostModem modem(folder.path());
    SerialLine line;
    QByteArray answer;
    connect(&line, &SerialLine::received, [&answer](const QByteArray &bytes) { answer += bytes; });
    QSignalSpy errors(&line, &SerialLine::errorEvent);
    QString error;
    QVERIFY2(line.open(QStringLiteral("COM1"), 1200, false, &error), qPrintable(error));

    line.write("AT\r");
    line.write("ATI3\r");
    QTRY_COMPARE(answer, QByteArray("\r\nOK\r\n\r\nTelmaris Modem-Simulator V1.0\r\n\r\nOK\r\n"));
    QCOMPARE(modem.commands(), (QList<QByteArray>{"AT", "ATI3"}));

    modem.stop();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 2000);
    QCOMPARE(errors.takeFirst().at(0).value<LineError>(), LineError::Gone);
    line.write("AT\r");
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.takeFirst().at(0).value<LineError>() == LineError::Gone);
}

void TestComPort::portsThatCannotBeOpened() {
    SerialLine line;
    QString error;
    QVERIFY(!line.open(QStringLiteral("COM9"), 1200, false, &error));
    QCOMPARE(error, QStringLiteral("Das Gerät COM9 ist nicht vorhanden. Ist das Modem eingesteckt "
                                   "und eingeschaltet? Ein ausgestecktes USB-Modem verschwindet "
                                   "mit seinem Gerät; nach dem Einstecken findet es „Neu suchen“ "
                                   "auf der Optionsseite."));
}

// The ports a Windows system lists, in the order COM numbers are given them: modems first (a
// modem is listed among the ports too), then by number. A COM number whose own port does not
// exist takes the next of them.
void TestComPort::usbModemTakesAFreeComNumber() {
    const SerialDevice modem{"USB-Modem", "Acme", "", "COM7"};
    const SerialDevice com1{"Kommunikationsanschluss", "", "", "COM1"};
    const SerialDevice adapter{"USB Serial Port", "FTDI", "", "COM12"};
    const SerialDevices listed = orderForComNumbers({modem}, {adapter, modem, com1});
    QStringList order;
    for (const SerialDevice &device : listed)
        order << device.path;
    QCOMPARE(order, (QStringList{"COM7", "COM1", "COM12"}));

    const std::pair<SerialDevices, QStringList> rows[] = {
        {{modem}, {"COM7", "COM2", "COM3", "COM4"}},
        {listed, {"COM1", "COM7", "COM12", "COM4"}},
    };
    for (const auto &[devices, expected] : rows) {
        PortMap ports;
        ports.fillFrom(devices);
        QCOMPARE(QStringList({ports.device(1), ports.device(2), ports.device(3), ports.device(4)}),
                 expected);
    }
}

// A script started by its number as a scheduled job starts it: the modem's commands, exit
// status 0, and the settings file as it was.
void TestComPort::unattendedRun() {
    TempProgramFolder folder;
    const QString program = folder.filePath(QStringLiteral("telmaris.exe"));
    QVERIFY(QFile::copy(QStringLiteral(TELMARIS_EXE), program));
    const QByteArray settings = "[Data]\r\nComPort=1\r\nSkriptName3=N\xC3\xA4\x63hte\r\n"
                                "SkriptText3=TONWAHL\\N\\LW\xC3\x84HLE 55\\N\\LERDTASTE\\N\\L"
                                "AUFLEGEN\r\n";
    folder.writeIni(settings);
    HostModem modem(folder.path());

    QProcess run;
    run.start(program, {QStringLiteral("3")});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(QString::fromLocal8Bit(run.readAllStandardError()), QString());
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(modem.commands(), (QList<QByteArray>{"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1",
                                                  "ATDT55;", "ATDT!;", "ATH0", "AT&F", "ATH0"}));
    QCOMPARE(folder.readIni(), settings);
}

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
