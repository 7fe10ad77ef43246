// Whole runs: scripts carried out through the real serial port against the modem simulator on
// a pseudo-terminal, checked by the bytes the modem received and what the user was shown.
#include "RunFixture.h"

using namespace telmaris;
using namespace telmaris::test;

class TestScriptRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyword();
    void emptyScriptInAutoMode();
};

void TestScriptRunner::everyKeyword() {
    const QString script = QString::fromUtf8(
        "---- Anlage ----\r\nWÄHLE 11\r\nTONWAHL\r\nWÄHLE  22\r\nMODEM ATM1%eingabe%\r\n"
        "EINGABE Nummer?\r\nMODEM ATDT%EINGABE%;\r\nEINGABE Zweite?\r\nIMPULSWAHL\r\n"
        "WÄHLE %Eingabe%\r\n\r\n   \r\nHINWEIS Jetzt kommt %EINGABE%\r\nDIALOG Gleich\r\r\n"
        "pause 9\r\nPAUSE 0\r\nFLASH\r\nERDTASTE\r\nAUFLEGEN");
    Run run({}, script);
    run.settings.DialPuls = 1;
    run.ui.inputAnswers = QStringList{"35", "47"};

    QCOMPARE(run.go(), RunOutcome::Success);

    const QList<QByteArray> expected =
        Prepared({"ATDP11;", "ATDT 22;", "ATM1", "ATDT35;", "ATDP47;", "ATDT!;", "ATDT!;", "ATH0"});
    QCOMPARE(run.commands(), expected);
    QCOMPARE(run.modem->received(), expected.join('\r') + '\r');
    QCOMPARE(run.runner.EingabeText(), QStringLiteral("47"));

    // Every line was highlighted in turn; a lone CR does not end a line.
    QCOMPARE(run.ui.selectedLines, script.split(QStringLiteral("\r\n")));

    const QString title = QStringLiteral("Telmaris - Anlage");
    QCOMPARE(run.ui.messages, (QStringList{"[information] " + title + ": Jetzt kommt 47",
                                           "[information] " + title + ": Gleich\r",
                                           "[information] Telmaris: " + Success}));
    QVERIFY(run.ui.calls.contains("Input: " + title + ": Nummer?"));
    QVERIFY(run.ui.calls.contains("Input: " + title + ": Zweite?"));

    const QStringList &statuses = run.ui.statuses;
    QCOMPARE(
        statuses.mid(0, 4),
        (QStringList{"Modem-Reset", QString::fromUtf8("Letzte Modem-Antwort: »«"),
                     QString::fromUtf8("Letzte Modem-Antwort: »OK«"), "Modem-Initialisierung"}));
    QVERIFY(statuses.contains(QString::fromUtf8("Programmierung läuft ...")));
    QCOMPARE(statuses.last(), QStringLiteral("Programmierung beendet"));
    VerifyIdleAgain(run.ui, run.runner);

    // The trace: per command what was sent, both answer lines, and how the wait ended.
    const QStringList &trace = run.trace.lines;
    QCOMPARE(trace.size(), 4 * expected.size());
    QVERIFY(trace[0].endsWith(QString::fromUtf8(" SkriptLine: »AT&F\r«")));
    QVERIFY(trace[1].endsWith(QString::fromUtf8(" RcvString: »«")));
    QVERIFY(trace[2].endsWith(QString::fromUtf8(" RcvString: »OK«")));
    QVERIFY(trace[3].endsWith(QString::fromUtf8(" ErrOccured: »Falsch«")));

    // The next run dials by the setting again and still knows the last input.
    run.modem->clearCommands();
    run.ui.setText(QString::fromUtf8("WÄHLE\r\nMODEM ATS7=%EINGABE%\r\n"));
    run.settings.DialPuls = 0;
    QCOMPARE(run.go(), RunOutcome::Success);
    QCOMPARE(run.commands(), Prepared({"ATDT;", "ATS7=47"}));
}

void TestScriptRunner::emptyScriptInAutoMode() {
    Run run({}, QStringLiteral("\r\n   \r\n"));
    QCOMPARE(run.go(true), RunOutcome::Success);
    QCOMPARE(run.commands(), Prepared({}));
    QCOMPARE(run.ui.selectedLines, (QStringList{"", "   "}));
    QVERIFY(run.ui.messages.isEmpty());
    QCOMPARE(run.ui.statuses.last(), QStringLiteral("Programmierung beendet"));
    VerifyIdleAgain(run.ui, run.runner);
}

QTEST_GUILESS_MAIN(TestScriptRunner)
#include "tst_scriptrunner.moc"
