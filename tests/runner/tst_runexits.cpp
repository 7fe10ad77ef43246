// How runs end early: modem errors, a line that goes away, the user's abort, and ports that
// cannot be had, through the real serial port against the modem simulator.
#include "RunFixture.h"

#include "runner/PortLock.h"
#include "runner/SerialLine.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace telmaris;
using namespace telmaris::test;

class TestRunExits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errorToInitStopsWithoutClosingReset();
    void waitsForAnAnswerUntilAbort_data();
    void waitsForAnAnswerUntilAbort();
    void abortDuringPauseTakesEffectAtNextCommand();
    void abortDuringLinesThatSendNothing();
    void droppedLineIsAModemProblem();
    void portFailures_data();
    void portFailures();
    void flockOfAnotherProgramIsAPortFailure();
};

void TestRunExits::errorToInitStopsWithoutClosingReset() {
    ModemOptions options;
    options.errorOn = "V1";
    Run run(options, QStringLiteral("MODEM ATM1"));

    QCOMPARE(run.go(), RunOutcome::ModemError);

    QCOMPARE(run.commands(), Prepared({}, false));
    QVERIFY(run.ui.selectedLines.isEmpty());
    QCOMPARE(run.ui.statuses.last(), QStringLiteral("Das Modem hat einen Fehler gemeldet!"));
    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(run.ui.messages[0].title, QStringLiteral("Telmaris"));
    QCOMPARE(run.ui.messages[0].text,
             QString::fromUtf8("Das Modem hat einen Befehl nicht verstandent - bitte Verbindung "
                               "und Optionen  prüfen."));
    QVERIFY(run.trace.lines.last().endsWith(QString::fromUtf8(" ErrOccured: »Wahr«")));
    VerifyIdleAgain(run.ui, run.runner);

    // The port was given back: another program can take it.
    SerialLine other;
    QString reason;
    QVERIFY2(other.open(run.modem.devicePath(), 9600, true, &reason), qPrintable(reason));
}

void TestRunExits::waitsForAnAnswerUntilAbort_data() {
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("silent modem") << true << false;
    QTest::newRow("numeric result codes") << false << true;
}

void TestRunExits::waitsForAnAnswerUntilAbort() {
    QFETCH(bool, silent);
    QFETCH(bool, numeric);
    ModemOptions options;
    options.silent = silent;
    options.numeric = numeric;
    Run run(options, QStringLiteral("MODEM ATM1"));
    int shownBeforeAbort = -1;
    QTimer::singleShot(500, [&] {
        shownBeforeAbort = static_cast<int>(run.ui.messages.size());
        run.runner.RequestAbort();
    });

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    QCOMPARE(shownBeforeAbort, 0); // the run was still waiting for its first answer
    QTRY_COMPARE(run.commands(), (QList<QByteArray>{"AT&F", "ATH0"}));
    const int beep = static_cast<int>(run.ui.calls.indexOf("Beep"));
    QVERIFY(beep > 0);
    QCOMPARE(run.ui.calls.at(beep + 1),
             QString::fromUtf8("Status: Programmabbruch durch Anwender!"));
    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(run.ui.messages[0].text, AbortText);
    VerifyIdleAgain(run.ui, run.runner);
}

void TestRunExits::abortDuringPauseTakesEffectAtNextCommand() {
    Run run({}, QStringLiteral("PAUSE 2\r\nMODEM ATM1\r\nMODEM ATL1"));
    QList<QByteArray> sentAtAbort;
    run.ui.onSelect = [&](int start, int) {
        if (start == 0) // the PAUSE line
            QTimer::singleShot(300, [&] {
                sentAtAbort = run.commands();
                run.runner.RequestAbort();
            });
    };

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    QCOMPARE(sentAtAbort, Prepared({}, false));
    // The pause ran on, the next command still went out, then the hang-up.
    QTRY_COMPARE(run.commands(), Prepared({"ATM1", "ATH0"}, false));
    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].text, AbortText);
}

void TestRunExits::abortDuringLinesThatSendNothing() {
    Run run({}, QStringLiteral("MODEM ATM1\r\nHINWEIS Achtung\r\nTONWAHL\r\nEINGABE Wert?\r\n"
                               "DIALOG Ende"));
    run.ui.onMessage = [&](const test::ShownMessage &message) {
        if (message.text == QLatin1String("Achtung"))
            run.runner.RequestAbort();
    };

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    // The lines after the request still ran; the closing reset is the command that noticed it.
    QTRY_COMPARE(run.commands(), Prepared({"ATM1", "AT&F", "ATH0"}, false));
    QVERIFY(run.ui.calls.contains("Input: Telmaris - Anlage: Wert?"));
    QStringList texts;
    for (const auto &message : run.ui.messages)
        texts << message.text;
    QCOMPARE(texts, (QStringList{"Achtung", "Ende", AbortText}));
    QVERIFY(run.ui.calls.indexOf("Beep") < run.ui.calls.indexOf("Message: Telmaris: " + AbortText));
}

void TestRunExits::droppedLineIsAModemProblem() {
    ModemOptions options;
    options.dropAfter = 3;
    Run run(options, QStringLiteral("MODEM ATM1\r\nMODEM ATL1"));

    QCOMPARE(run.go(), RunOutcome::PortError);

    QCOMPARE(run.commands(), Prepared({"ATM1"}, false));
    QCOMPARE(run.ui.statuses.last(), QStringLiteral("Modem-Problem!"));
    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(run.ui.messages[0].text,
             QStringLiteral("Das Modem reagiert nicht - ist es eingeschaltet?"));
    VerifyIdleAgain(run.ui, run.runner);
}

void TestRunExits::portFailures_data() {
    QTest::addColumn<bool>("lockFileOfLivingProcess");
    QTest::newRow("device missing") << false;
    QTest::newRow("lock file of another program") << true;
}

void TestRunExits::portFailures() {
    QFETCH(bool, lockFileOfLivingProcess);
    Run run({}, QStringLiteral("MODEM ATM1"));
    run.settings.ComPort = 3;
    QTemporaryDir dir;
    OtherProgram sleeper({"sleep", "30"});
    QString lockFile;
    if (lockFileOfLivingProcess) {
        // A terminal program's lock: "LCK.." + the device name, its process id in ASCII.
        const QString link = dir.filePath(QStringLiteral("ttyTelmaris%1").arg(::getpid()));
        QVERIFY(run.modem->createLink(link));
        run.ports.setDevice(3, link);
        lockFile = QStringLiteral("/tmp/LCK..ttyTelmaris%1").arg(::getpid());
        QFile file(lockFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(sleeper.process.processId()).rightJustified(10) + '\n');
    } else {
        run.ports.setDevice(3, dir.filePath(QStringLiteral("ttyMissing")));
    }

    QCOMPARE(run.go(), RunOutcome::PortFailure);

    QCOMPARE(run.ui.statuses, QStringList{"Schnittstellen-Problem!"});
    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(run.ui.messages[0].title, QStringLiteral("Telmaris"));
    QCOMPARE(run.ui.messages[0].text, QString::fromUtf8("Com-Port 3 ist nicht verfügbar."));
    VerifyIdleAgain(run.ui, run.runner);
    QTest::qWait(100);
    QVERIFY(run.modem->received().isEmpty());
    if (lockFileOfLivingProcess) {
        QVERIFY(QFile::exists(lockFile)); // the other program's lock stays
        QFile::remove(lockFile);
    }
}

void TestRunExits::flockOfAnotherProgramIsAPortFailure() {
    Run run({}, QStringLiteral("MODEM ATM1"));
    OtherProgram holder({"flock", "--exclusive", run.modem.devicePath(), "sleep", "30"});
    // Wait until the other program holds its lock; each probe lets go of its own at once.
    const QByteArray device = QFile::encodeName(run.modem.devicePath());
    const auto heldElsewhere = [&device] {
        const int probe = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        const bool held = probe >= 0 && !TakeExclusiveFlock(probe);
        ::close(probe);
        return held;
    };
    QTRY_VERIFY(heldElsewhere());

    QCOMPARE(run.go(), RunOutcome::PortFailure);

    QCOMPARE(run.ui.messages.size(), 1);
    QCOMPARE(run.ui.messages[0].text, QString::fromUtf8("Com-Port 2 ist nicht verfügbar."));
    QTest::qWait(100);
    QVERIFY(run.modem->received().isEmpty());
}

QTEST_GUILESS_MAIN(TestRunExits)
#include "tst_runexits.moc"
