// Faults on the modem's side of a run, through the real window, the real serial port and the
// modem simulator on a pseudo-terminal: the line vanishing during a run, errors the
// driver counts. Each run ends with its message and the window idle again.
#include "ProgramFixture.h"
#include "ports/SerialLine.h"
#include "trace/TraceWindow.h"

#include <QtTest>

using namespace telmaris;
using namespace telmaris::test;

namespace {
const QString NoModem = QStringLiteral("Das Modem reagiert nicht - ist es eingeschaltet?");
const QString LineLost = QStringLiteral(
    "Die Verbindung zum Modem ist unterbrochen (Kabel gezogen oder Modem ausgeschaltet).");
const QString NoPort = QString::fromUtf8("Com-Port 1 ist nicht verfügbar.");
} // namespace

class TestFaultModem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineVanishesDuringAPause();
    void countedLineErrorsEndTheRun_data();
    void countedLineErrorsEndTheRun();
};

// The run sends AT&F, ATV1 and ATM1; the line vanishes once the run has come to the PAUSE, a
// wait of the run's own. The run core's table has the other stages, the unattended run through
// the program the line vanishing while the answer to a dial is awaited.
void TestFaultModem::lineVanishesDuringAPause() {
    const QString script = QString::fromUtf8("MODEM ATM1\r\nPAUSE 3600\r\nWÄHLE 123");
    ProgramFixture program("ModemReset=&F\nModemInit=V1\nSkriptText1=" +
                           script.toUtf8().replace("\r\n", "\\N\\L") + "\n");
    QCOMPARE(program.start(), std::nullopt);
    QTimer atPause;
    connect(&atPause, &QTimer::timeout, this, [&] {
        if (program.editor(0)->textCursor().selectedText() == "PAUSE 3600")
            program.modem1->dropLine();
    });
    atPause.start(20);

    QVERIFY2(program.runToEnd(), "the run did not end when the line vanished");

    QCOMPARE(program.modem1.commands(), QList<QByteArray>({"AT&F", "ATV1", "ATM1"}));
    QCOMPARE(program.statusLine(), QStringLiteral(" Modem-Problem!"));
    // Below the fixed text: that the line is gone.
    QCOMPARE(program.dialogs.messages,
             QStringList{"[critical] Telmaris: " + NoModem + u'\r' + LineLost});
    QCOMPARE(program.folder.runLog().filter(LineLost).size(), 2); // a note, and the end
    QCOMPARE(program.runState(), IdleState);

    // The device is gone: the next try says so at once instead of waiting.
    QVERIFY(program.runToEnd(5000));
    // Below the fixed text: what became of the device, and what to check.
    QVERIFY2(program.dialogs.texts.last().startsWith(
                 NoPort + QStringLiteral("\rDas Gerät %1 ist nicht vorhanden. Ist das Modem "
                                         "eingesteckt")
                              .arg(program.modem1.devicePath())),
             qPrintable(program.dialogs.texts.last()));
    QCOMPARE(program.statusLine(), QStringLiteral(" Schnittstellen-Problem!"));
    QCOMPARE(program.runState(), IdleState);
    // Nothing of the script was lost.
    QCOMPARE(program.editor(0)->crlfText(), script);
}

// A pseudo-terminal keeps no error counters; the driver's are stood in for.
void TestFaultModem::countedLineErrorsEndTheRun_data() {
    QTest::addColumn<long long LineErrorCounts::*>("counter");
    QTest::addColumn<QList<QByteArray>>("commands");
    const QList<QByteArray> stopped{"AT&F", "ATV1", "ATM1", "ATH0"};
    QTest::newRow("overrun") << &LineErrorCounts::overrun << stopped;
    QTest::newRow("buffer overrun") << &LineErrorCounts::bufOverrun << stopped;
    QTest::newRow("break") << &LineErrorCounts::brk << stopped;
    QTest::newRow("parity") << &LineErrorCounts::parity << stopped;
    // The character arrives as a NUL byte, which the answer collector drops.
    QTest::newRow("framing only") << &LineErrorCounts::frame
                                  << QList<QByteArray>{"AT&F", "ATV1", "ATM1", "AT&F", "ATH0"};
}

void TestFaultModem::countedLineErrorsEndTheRun() {
    QFETCH(long long LineErrorCounts::*, counter);
    QFETCH(QList<QByteArray>, commands);
    ProgramFixture program("ModemReset=&F\nModemInit=V1\nSkriptText1=MODEM ATM1\n");
    QCOMPARE(program.start(), std::nullopt);
    LineErrorCounts counts{7, 7, 7, 7, 7}; // what happened before the port was opened
    program.window->setErrorCountReader(
        [&](int) -> std::optional<LineErrorCounts> { return counts; });
    // The error comes with the answer to the script's line.
    connect(&program.modem1.modem(), &modemsim::ModemSimulator::commandReceived, this,
            [&](const QByteArray &command) {
                if (command == "ATM1")
                    counts.*counter += 1;
            });

    QVERIFY(program.runToEnd());

    QCOMPARE(program.modem1.commands(), commands);
    if (commands.size() == 4) {
        QCOMPARE(program.statusLine(), QStringLiteral(" Modem-Problem!"));
        QCOMPARE(program.dialogs.messages, QStringList{"[critical] Telmaris: " + NoModem});
    } else {
        QCOMPARE(program.dialogs.texts,
                 QStringList{QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.")});
    }
}

QTEST_MAIN(TestFaultModem)
#include "tst_fault_modem.moc"
