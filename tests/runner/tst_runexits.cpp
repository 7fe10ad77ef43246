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
    void abortTakesEffectAtTheNextCommand_data();
    void abortTakesEffectAtTheNextCommand();
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

// An abort takes effect at the next command: a pause runs on, lines that send nothing still
// run; then the modem hangs up. The abort is requested when the given line is reached, after
// the given delay.
void TestRunExits::abortTakesEffectAtTheNextCommand_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("abortAt");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("sentBefore"); // commands sent when the abort was requested
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("during a pause") << "PAUSE 2\r\nMODEM ATM1\r\nMODEM ATL1"
                                    << "PAUSE 2" << 300 << 2 << Prepared({"ATM1", "ATH0"}, false)
                                    << QStringList{Critical(AbortText)};
    QTest::newRow("before lines that send nothing")
        << "MODEM ATM1\r\nHINWEIS Achtung\r\nTONWAHL\r\nEINGABE Wert?\r\nDIALOG Ende"
        << "HINWEIS Achtung" << 0 << 3 << Prepared({"ATM1", "AT&F", "ATH0"}, false)
        << QStringList{"[information] Telmaris - Anlage: Achtung",
                       "[information] Telmaris - Anlage: Ende", Critical(AbortText)};
}

void TestRunExits::abortTakesEffectAtTheNextCommand() {
    QFETCH(QString, script);
    QFETCH(QString, abortAt);
    QFETCH(int, delayMs);
    QFETCH(int, sentBefore);
    QFETCH(QList<QByteArray>, sent);
    QFETCH(QStringList, shown);
    Run run({}, script);
    QList<QByteArray> sentAtAbort;
    const auto abort = [&] {
        sentAtAbort = run.commands();
        run.runner.RequestAbort();
    };
    run.ui.onSelect = [&](int) {
        if (run.ui.selectedLines.last() == abortAt)
            delayMs ? QTimer::singleShot(delayMs, abort) : abort();
    };

    QCOMPARE(run.go(), RunOutcome::UserAbort);

    QCOMPARE(sentAtAbort, sent.mid(0, sentBefore));
    QTRY_COMPARE(run.commands(), sent);
    QCOMPARE(run.ui.messages, shown);
}

QTEST_GUILESS_MAIN(TestRunExits)
#include "tst_runexits.moc"
