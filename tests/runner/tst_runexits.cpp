// How runs end early: modem errors and the user's abort, through the real serial port against
// the modem simulator.
#include "RunFixture.h"

#include "runner/SerialLine.h"

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
};

void TestRunExits::errorToInitStopsWithoutClosingReset() {
    ModemOptions options;
    options.errorOn = "V1";
    Run run(options, QStringLiteral("MODEM ATM1"));

    QCOMPARE(run.go(), RunOutcome::ModemError);

    QCOMPARE(run.commands(), Prepared({}, false));
    QVERIFY(run.ui.selectedLines.isEmpty());
    QCOMPARE(run.ui.statuses.last(), QStringLiteral("Das Modem hat einen Fehler gemeldet!"));
    QCOMPARE(run.ui.messages, QStringList{Critical(QString::fromUtf8(
                                  "Das Modem hat einen Befehl nicht verstandent - bitte "
                                  "Verbindung und Optionen  prüfen."))});
    QVERIFY(run.trace.lines.last().endsWith(QString::fromUtf8(" ErrOccured: »Wahr«")));
    VerifyIdleAgain(run.ui, run.runner);
    // The port was given back: another program can take it.
    SerialLine other;
    QVERIFY(other.open(run.modem.devicePath(), 9600, true));
}

void TestRunExits::waitsForAnAnswerUntilAbort_data() {
    QTest::addColumn<bool>("silent");
    QTest::newRow("silent modem") << true;
    QTest::newRow("numeric result codes") << false;
}

void TestRunExits::waitsForAnAnswerUntilAbort() {
    QFETCH(bool, silent);
    ModemOptions options;
    options.silent = silent;
    options.numeric = !silent;
    Run run(options, QStringLiteral("MODEM ATM1"));
    int shownBeforeAbort = -1;
    QTimer::singleShot(500, [&] {
        shownBeforeAbort = int(run.ui.messages.size());
        run.runner.RequestAbort();
    });

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    QCOMPARE(shownBeforeAbort, 0); // the run was still waiting for its first answer
    QTRY_COMPARE(run.commands(), (QList<QByteArray>{"AT&F", "ATH0"}));
    const qsizetype beep = run.ui.calls.indexOf("Beep");
    QVERIFY(beep > 0);
    QCOMPARE(run.ui.calls.at(beep + 1),
             QString::fromUtf8("Status: Programmabbruch durch Anwender!"));
    QCOMPARE(run.ui.messages, QStringList{Critical(AbortText)});
    VerifyIdleAgain(run.ui, run.runner);
}

void TestRunExits::abortDuringPauseTakesEffectAtNextCommand() {
    Run run({}, QStringLiteral("PAUSE 2\r\nMODEM ATM1\r\nMODEM ATL1"));
    QList<QByteArray> sentAtAbort;
    run.ui.onSelect = [&](int start) {
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
    QCOMPARE(run.ui.messages, QStringList{Critical(AbortText)});
}

void TestRunExits::abortDuringLinesThatSendNothing() {
    Run run({}, QStringLiteral("MODEM ATM1\r\nHINWEIS Achtung\r\nTONWAHL\r\nEINGABE Wert?\r\n"
                               "DIALOG Ende"));
    run.ui.onMessage = [&](const QString &text) {
        if (text == QLatin1String("Achtung"))
            run.runner.RequestAbort();
    };

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    // The lines after the request still ran; the closing reset is the command that noticed it.
    QTRY_COMPARE(run.commands(), Prepared({"ATM1", "AT&F", "ATH0"}, false));
    QVERIFY(run.ui.calls.contains("Input: Telmaris - Anlage: Wert?"));
    QCOMPARE(run.ui.messages,
             (QStringList{"[information] Telmaris - Anlage: Achtung",
                          "[information] Telmaris - Anlage: Ende", Critical(AbortText)}));
    QVERIFY(run.ui.calls.indexOf("Beep") < run.ui.calls.indexOf("Message: Telmaris: " + AbortText));
}

QTEST_GUILESS_MAIN(TestRunExits)
#include "tst_runexits.moc"
