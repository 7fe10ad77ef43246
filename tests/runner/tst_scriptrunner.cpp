// Whole runs: scripts carried out through the real serial port against the modem simulator on
// a pseudo-terminal, checked by the bytes the modem received and what the user was shown.
#include "runner/ScriptRunner.h"

#include "PtyModem.h"
#include "RecordingRunnerUi.h"
#include "runner/PortLock.h"
#include "runner/SerialLine.h"
#include "runner/Trace.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace telmaris;
using telmaris::modemsim::ModemOptions;
using telmaris::test::PtyModem;
using telmaris::test::RecordingRunnerUi;

namespace {

const QString Init = QStringLiteral("AT") + DefaultModemInit;
const QString Success = QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.");
const QString AbortText = QString::fromUtf8("Das Skript wurde wunschgemäß abgebrochen.");

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

QList<QByteArray> Prepared(const QList<QByteArray> &lines, bool closingReset = true) {
    QList<QByteArray> all{"AT&F", Init.toLatin1()};
    all += lines;
    if (closingReset)
        all << "AT&F";
    return all;
}

// The window is idle again, the editor unlocked with its caret back where it was.
void VerifyIdleAgain(const RecordingRunnerUi &ui, const ScriptRunner &runner) {
    QVERIFY(!runner.Running());
    QVERIFY(!ui.locked);
    QVERIFY(!ui.running);
    QCOMPARE(ui.calls.mid(0, 2), (QStringList{"Lock", "Running"}));
    QCOMPARE(ui.calls.mid(ui.calls.size() - 4),
             (QStringList{"Unlock", "Caret 7", "Focus", "Idle"}));
    QCOMPARE(ui.selectionLength, 0);
}

// A process of its own that stays alive for the test.
struct OtherProgram {
    explicit OtherProgram(const QStringList &command) {
        process.start(command.first(), command.mid(1));
        process.waitForStarted();
    }
    ~OtherProgram() {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
};

} // namespace

class TestScriptRunner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyword();
    void emptyScriptInAutoMode();
    void errorToInitStopsWithoutClosingReset();
    void busyAndEchoGoOn();
    void waitsForAnAnswerUntilAbort_data();
    void waitsForAnAnswerUntilAbort();
    void abortDuringPauseTakesEffectAtNextCommand();
    void abortDuringLinesThatSendNothing();
    void droppedLineIsAModemProblem();
    void portFailures_data();
    void portFailures();
    void flockOfAnotherProgramIsAPortFailure();
};

void TestScriptRunner::everyKeyword() {
    const QString script = QString::fromUtf8("---- Anlage ----\r\n"
                                             "WÄHLE 11\r\n"
                                             "TONWAHL\r\n"
                                             "WÄHLE  22\r\n"
                                             "MODEM ATM1%eingabe%\r\n"
                                             "EINGABE Nummer?\r\n"
                                             "MODEM ATDT%EINGABE%;\r\n"
                                             "EINGABE Zweite?\r\n"
                                             "IMPULSWAHL\r\n"
                                             "WÄHLE %Eingabe%\r\n"
                                             "\r\n"
                                             "   \r\n"
                                             "HINWEIS Jetzt kommt %EINGABE%\r\n"
                                             "DIALOG Gleich\r"
                                             "\r\n"
                                             "pause 9\r\n"
                                             "PAUSE 0\r\n"
                                             "FLASH\r\n"
                                             "ERDTASTE\r\n"
                                             "AUFLEGEN");
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
    QCOMPARE(run.ui.messages.size(), 3);
    QCOMPARE(run.ui.messages[0].title, title);
    QCOMPARE(run.ui.messages[0].text, QStringLiteral("Jetzt kommt 47"));
    QCOMPARE(run.ui.messages[0].icon, MessageIcon::Information);
    QCOMPARE(run.ui.messages[1].text, QStringLiteral("Gleich\r"));
    QCOMPARE(run.ui.messages[2].title, QStringLiteral("Telmaris"));
    QCOMPARE(run.ui.messages[2].text, Success);
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
    const QRegularExpression timeFirst(QStringLiteral("^\\S*\\d\\S* "));
    for (const QString &line : trace)
        QVERIFY2(timeFirst.match(line).hasMatch(), qPrintable(line));
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

void TestScriptRunner::busyAndEchoGoOn() {
    ModemOptions options;
    options.busy = true;
    options.echo = true;
    Run run(options, QString::fromUtf8("WÄHLE 1\r\nMODEM ATM1"));
    run.settings.ModemInit = QStringLiteral("V1 Q0"); // the echo stays on

    QCOMPARE(run.go(), RunOutcome::Success);

    QCOMPARE(run.commands(), (QList<QByteArray>{"AT&F", "ATV1 Q0", "ATDT1;", "ATM1", "AT&F"}));
    QVERIFY(run.ui.statuses.contains(QString::fromUtf8("Letzte Modem-Antwort: »ATDT1;«")));
    QVERIFY(run.ui.statuses.contains(QString::fromUtf8("Letzte Modem-Antwort: »BUSY«")));
    QCOMPARE(run.ui.messages.last().text, Success);
}

void TestScriptRunner::waitsForAnAnswerUntilAbort_data() {
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("silent modem") << true << false;
    QTest::newRow("numeric result codes") << false << true;
}

void TestScriptRunner::waitsForAnAnswerUntilAbort() {
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

void TestScriptRunner::abortDuringPauseTakesEffectAtNextCommand() {
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

void TestScriptRunner::abortDuringLinesThatSendNothing() {
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

void TestScriptRunner::droppedLineIsAModemProblem() {
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

void TestScriptRunner::portFailures_data() {
    QTest::addColumn<bool>("lockFileOfLivingProcess");
    QTest::newRow("device missing") << false;
    QTest::newRow("lock file of another program") << true;
}

void TestScriptRunner::portFailures() {
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

void TestScriptRunner::flockOfAnotherProgramIsAPortFailure() {
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

QTEST_GUILESS_MAIN(TestScriptRunner)
#include "tst_scriptrunner.moc"
