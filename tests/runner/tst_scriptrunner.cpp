// Whole runs: scripts carried out through the real serial port against the modem simulator on
// a pseudo-terminal, checked by the bytes the modem received and what the user was shown; and
// how runs end early: modem errors and the user's abort. Each run has one modem on COM 2, a
// window that records and a runner in trace mode.
#include "PtyModem.h"
#include "RecordingRunnerUi.h"
#include "runner/ScriptRunner.h"
#include "runner/SerialLine.h"
#include "runner/Trace.h"

#include <QtTest>

namespace telmaris::test {

using modemsim::ModemOptions;

inline const QString Init = QStringLiteral("ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1");
inline const QString Success = QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.");
inline const QString AbortText = QString::fromUtf8("Das Skript wurde wunschgemäß abgebrochen.");

// A box with the program's name as its title, as RecordingRunnerUi::messages lists it.
inline QString Critical(const QString &text) {
    return "[critical] Telmaris: " + text;
}

class RecordingTrace : public TraceSink {
public:
    QStringList lines;
    void AddTrace(const QString &line) override { lines << line; }
};

// One modem on COM 2, a window that records, a runner in trace mode.
struct Run {
    explicit Run(ModemOptions options = {}, const QString &script = {})
        : modem(options), ui(script), runner(ui, &trace) {
        ports.setDevice(2, modem.devicePath());
        settings.ComPort = 2;
        settings.ModemSpeed = 6; // 9600 baud
        ui.caret = 7;
    }
    RunOutcome go(bool autoMode = false) {
        return runner.SendSkript(settings, ports, QStringLiteral("Anlage"), autoMode);
    }
    QList<QByteArray> commands() { return modem.commands(); }

    PtyModem modem;
    RecordingRunnerUi ui;
    RecordingTrace trace;
    ScriptRunner runner;
    StartData settings;
    PortMap ports;
};

inline QList<QByteArray> Prepared(const QList<QByteArray> &lines, bool closingReset = true) {
    QList<QByteArray> all{"AT&F", Init.toLatin1()};
    all += lines;
    if (closingReset)
        all << "AT&F";
    return all;
}

// The window is idle again, the editor unlocked with its caret back where it was.
inline void VerifyIdleAgain(const RecordingRunnerUi &ui, const ScriptRunner &runner) {
    QVERIFY(!runner.Running());
    QVERIFY(!ui.locked);
    QVERIFY(!ui.running);
    QCOMPARE(ui.calls.mid(0, 2), (QStringList{"Lock", "Running"}));
    QCOMPARE(ui.calls.mid(ui.calls.size() - 4),
             (QStringList{"Unlock", "Caret 7", "Focus", "Idle"}));
    QCOMPARE(ui.selectionLength, 0);
}

} // namespace telmaris::test

using namespace telmaris;
using namespace telmaris::test;

class TestScriptRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyword();
    void emptyScriptInAutoMode();
    void errorToInitStopsWithoutClosingReset();
    void abortTakesEffectAtTheNextCommand_data();
    void abortTakesEffectAtTheNextCommand();
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

void TestScriptRunner::errorToInitStopsWithoutClosingReset() {
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

// An abort takes effect at the next command: a pause runs on, lines that send nothing still
// run; then the modem hangs up. The abort is requested when the given line is reached, after
// the given delay.
void TestScriptRunner::abortTakesEffectAtTheNextCommand_data() {
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

void TestScriptRunner::abortTakesEffectAtTheNextCommand() {
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

QTEST_GUILESS_MAIN(TestScriptRunner)
#include "tst_scriptrunner.moc"
