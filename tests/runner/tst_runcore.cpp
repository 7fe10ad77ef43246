// The run as a state machine, driven without port, timer or window: lists of events (answers,
// the timer running out, boxes closed, abort, a lost line, a signal) against what the run does
// (writes, timers, boxes, the status line, the port closed, how it finished). Trace and log
// lines are left out here; the runs through the window and the program check them.
#include "common/UserTexts.h"
#include "runner/RunCore.h"

#include <QtTest>

using namespace telmaris;

namespace {

const QString LineLost = texts::PortErrorMessage + '|' + texts::LineLostLine;

// What the run does, one line per action; trace and log lines are left out.
QStringList render(const QList<RunAction> &actions) {
    const char *outcomes[] = {"Success",  "ModemError", "DialFailed", "PortError",  "LineLost",
                              "NoAnswer", "UserAbort",  "Signalled",  "PortFailure"};
    const auto line = [&outcomes](const RunAction &a) -> QString {
        switch (a.kind) {
        case RunAction::OpenPort:
            return QStringLiteral("open COM%1").arg(a.number);
        case RunAction::Write:
            return "write " + QString::fromLatin1(a.bytes).replace(u'\r', QStringLiteral("<CR>"));
        case RunAction::StartTimer:
            return QStringLiteral("timer %1").arg(a.number);
        case RunAction::Status:
            return a.text.startsWith(QStringLiteral("Letzte Modem-Antwort")) ? QString()
                                                                             : "status " + a.text;
        case RunAction::SelectLine:
            return QStringLiteral("select %1+%2").arg(a.number).arg(a.length);
        case RunAction::ShowMessage:
            return "box " + QString(a.message).replace(u'\r', u'|');
        case RunAction::AskInput:
            return "input " + a.message;
        case RunAction::Finish:
            return "finish " + QString::fromLatin1(outcomes[int(a.outcome)]);
        default: // the rest by name; trace and log lines not at all
            return QString::fromLatin1(a.kind == RunAction::StopTimer   ? "stop timer"
                                       : a.kind == RunAction::CloseBox  ? "close box"
                                       : a.kind == RunAction::Beep      ? "beep"
                                       : a.kind == RunAction::Continue  ? "continue"
                                       : a.kind == RunAction::ClosePort ? "close port"
                                                                        : "");
        }
    };
    QStringList lines;
    for (const RunAction &a : actions)
        if (const QString text = line(a); !text.isEmpty())
            lines << text;
    return lines;
}

// One event per word: "opened", "open failed", "ok" (the modem's usual OK), "rx:<bytes>",
// "timeout", "proceed", "closed" (a box closed), "text:<answer>", "cancel", "abort", "lost",
// "failed", "stuck" (output does not drain), "signal".
RunEvent parse(const QString &word) {
    static const QMap<QString, RunEvent::Kind> kinds{
        {"opened", RunEvent::PortOpened}, {"open failed", RunEvent::PortOpened},
        {"ok", RunEvent::Received},       {"timeout", RunEvent::TimeOut},
        {"proceed", RunEvent::Proceed},   {"closed", RunEvent::BoxClosed},
        {"cancel", RunEvent::BoxClosed},  {"abort", RunEvent::Abort},
        {"lost", RunEvent::LineLost},     {"failed", RunEvent::LineFailed},
        {"stuck", RunEvent::LineFailed},  {"signal", RunEvent::Signal}};
    const QString prefix = word.section(u':', 0, 0);
    const auto kind = kinds.value(word, prefix == "rx" ? RunEvent::Received : RunEvent::BoxClosed);
    RunEvent e{kind, {}, {}, {}, int(word == QLatin1String("stuck"))};
    if (word == QLatin1String("ok"))
        e.bytes = "\r\nOK\r\n";
    else if (prefix == QLatin1String("rx"))
        e.bytes = word.mid(3).toLatin1();
    else if (prefix == QLatin1String("text"))
        e.answer = word.mid(5);
    else if (word == QLatin1String("open failed"))
        e.text = QStringLiteral("Das Gerät ist nicht vorhanden.");
    else if (word == QLatin1String("signal"))
        e.text = QStringLiteral("SIGTERM");
    return e;
}

struct Run {
    QStringList done; // what the run did
    bool running = false;
};

Run runCore(const QString &script, const QList<RunEvent> &events, int limitSeconds = 0) {
    RunCore core;
    RunSetup setup;
    setup.device = QStringLiteral("/dev/ttyACM0");
    setup.modemReset = QStringLiteral("&F");
    setup.modemInit = QStringLiteral("E0");
    setup.boxTitle = QStringLiteral("Telmaris \u2013 Anlage");
    setup.scriptText = script;
    setup.autoMode = true;
    setup.answerTimeLimitSeconds = limitSeconds;
    Run run;
    run.done = render(core.start(setup));
    for (const RunEvent &e : events)
        run.done += render(core.handle(e));
    run.running = core.running();
    return run;
}

// Steps written as one text, " / " between them.
QStringList steps(const QString &text) {
    return text.split(QStringLiteral(" / "), Qt::SkipEmptyParts);
}

QList<RunEvent> parseAll(const QString &words) {
    QList<RunEvent> events;
    for (const QString &word : steps(words))
        events << parse(word);
    return events;
}

// Up to the first line: the port opens, reset and initialisation are answered and followed by
// their second.
const QString PreparedEvents = QStringLiteral("opened / ok / timeout / ok / timeout / ");
const QString ResetSent = QStringLiteral("open COM1 / status Modem-Reset / write AT&F<CR> / ");
const QString Prepared = ResetSent + QString::fromUtf8("timer 1000 / status Modem-Initialisierung"
                                                       " / write ATE0<CR> / timer 1000 / status "
                                                       "Programmierung läuft ... / ");
// The closing reset answered, the hang-up of a run that succeeded.
const QString Succeeded = QStringLiteral("status Modem-Reset / write AT&F<CR> / write ATH0<CR> / "
                                         "status Programmierung beendet / close port / finish "
                                         "Success");

} // namespace

class TestRunCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyAnswerFormEndsItsWait_data();
    void everyAnswerFormEndsItsWait();
    void everyEndLeavesByOneWay_data();
    void everyEndLeavesByOneWay();
};

// Each command is answered in the given form, whole or byte by byte; the run goes through to its
// end the same way. The answer collector's test has the line ends.
void TestRunCore::everyAnswerFormEndsItsWait_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("byteByByte");
    // A call comes in: RING in the same read neither undoes the OK nor ends a later wait.
    QTest::newRow("OK then RING in one read") << QByteArray("\r\nOK\r\n\r\nRING\r\n") << false;
    QTest::newRow("RING, caller id, then OK")
        << QByteArray("\r\nRING\r\n\r\nNMBR = 0301234\r\n\r\nOK\r\n") << true;
}

void TestRunCore::everyAnswerFormEndsItsWait() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, byteByByte);
    QString events = QStringLiteral("opened / ");
    // Reset and initialisation, each with its second; the dial, its second and TONWAHL, which
    // sends nothing; the MODEM line, which has no second of its own; the closing reset.
    for (const char *after :
         {"timeout / ", "timeout / ", "timeout / proceed / ", "proceed / ", ""}) {
        for (qsizetype i = 0; i < answer.size(); i += byteByByte ? 1 : answer.size())
            events += "rx:" + QString::fromLatin1(answer.mid(i, byteByByte ? 1 : -1)) + " / ";
        events += QLatin1String(after);
    }
    const Run run =
        runCore(QString::fromUtf8("WÄHLE 1\r\nTONWAHL\r\nMODEM ATM2"), parseAll(events));
    QCOMPARE(run.done, steps(Prepared +
                             "select 0+7 / write ATDT1;<CR> / timer 1000 / select 9+7 / "
                             "continue / select 18+10 / write ATM2<CR> / continue / " +
                             Succeeded));
    QVERIFY(!run.running);
}

// Every way a run ends: what is still sent (only the hang-up, and only where the line is
// there), the status, the box, and that the port is closed last.
void TestRunCore::everyEndLeavesByOneWay_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("events");  // after the preparation
    QTest::addColumn<QString>("actions"); // after the preparation
    QTest::addColumn<int>("limit");       // the answer time limit in seconds
    const auto row = [](const char *name, const QString &script, const QString &events,
                        const QString &actions, int limit = 0) {
        QTest::newRow(name) << script << events << actions << limit;
    };
    const QString aborted = QString::fromUtf8(
        "write ATH0<CR> / beep / status Programmabbruch durch Anwender! / box Das Skript wurde "
        "wunschgemäß abgebrochen. / close port / finish UserAbort");
    const QString lost =
        "status Modem-Problem! / box " + LineLost + " / close port / finish LineLost";
    const QString signalled = QStringLiteral("write ATH0<CR> / status Programmabbruch durch Signal "
                                             "SIGTERM! / close port / finish Signalled");
    const QString modemError = QStringLiteral("write ATH0<CR> / status Das Modem hat einen Fehler "
                                              "gemeldet! / box ") +
                               texts::ModemErrorMessage + '|';
    const QString dial = QStringLiteral("WÄHLE 1");
    const QString pause = QStringLiteral("PAUSE 5\r\nWÄHLE 1");
    const QString input = QStringLiteral("EINGABE Nummer?\r\nWÄHLE %EINGABE%");
    const QString dialling = QStringLiteral("select 0+7 / write ATDT1;<CR> / ");
    const QString pausing = QStringLiteral("select 0+7 / timer 5000 / ");
    const QString asking = QStringLiteral("select 0+15 / input Nummer? / ");
    const QString initSent = "timer 1000 / status Modem-Initialisierung / write ATE0<CR> / ";

    row("no dial tone", dial, "rx:\r\nNO DIALTONE\r\n / closed",
        dialling + modemError + texts::NoDialtoneLine + " / close port / finish DialFailed");
    row("NO CARRIER during a pause", pause, "rx:NO CARRIER\r / timeout / ok / timeout / ok",
        pausing + "select 9+7 / write ATDT1;<CR> / timer 1000 / " + Succeeded);
    row("abort during a pause", pause, "abort / closed", pausing + "stop timer / " + aborted);
    row("abort in an EINGABE box", input, "abort / closed", asking + "close box / " + aborted);
    row("line lost at the closing reset", dial, "ok / timeout / lost / closed",
        dialling + "timer 1000 / status Modem-Reset / write AT&F<CR> / " + lost);
    row("line lost in an EINGABE box", input, "lost / closed", asking + "close box / " + lost);
    row("output stuck", dial, "stuck / closed",
        dialling + "status Modem-Problem! / box " + texts::PortErrorMessage +
            " / close port / finish PortError");
    // The program is asked to stop: no box waits for anyone.
    row("signal in an EINGABE box", input, "signal", asking + "close box / " + signalled);
    row("signal while the end's box is open", dial, "rx:ERROR\r / signal",
        dialling + modemError +
            QString::fromUtf8("Abgelehnter Befehl: „ATDT1;“ (Zeile 1: WÄHLE 1) / close box / "
                              "close port / finish ModemError"));
    // Once over, the run takes nothing more.
    row("events after the end", dial, "abort / closed / ok / timeout / abort / lost / signal",
        dialling + aborted);
    // Before the lines: the port cannot be opened; abort or a lost line before the reset's
    // answer; the answer time limit of an unattended run.
    row("port cannot be opened", dial, "open failed / closed",
        QString::fromUtf8("open COM1 / status Schnittstellen-Problem! / box Com-Port 1 ist nicht "
                          "verfügbar.|Das Gerät ist nicht vorhanden. / close port / finish "
                          "PortFailure"));
    // The modem refuses the reset: the box names the command and that the reset sent it.
    row("ERROR to the reset", dial, "opened / rx:ERROR\r / closed",
        ResetSent + modemError +
            QString::fromUtf8("Abgelehnter Befehl: „AT&F“ (Modem-Reset) / close port / finish "
                              "ModemError"));
    row("abort before the reset's answer", dial, "opened / abort / closed", ResetSent + aborted);
    row("line lost before the reset's answer", dial, "opened / lost / closed", ResetSent + lost);
    row("line lost at the initialisation", dial, "opened / ok / timeout / lost / closed",
        ResetSent + initSent + lost);
    row("no answer within the limit", dial, "opened / ok / timeout / timeout / closed",
        ResetSent + "timer 60000 / stop timer / " + initSent +
            "timer 60000 / write ATH0<CR> / status Modem-Problem! / box Das Modem hat nicht "
            "innerhalb von 60 Sekunden geantwortet. / close port / finish NoAnswer",
        60);
}

void TestRunCore::everyEndLeavesByOneWay() {
    QFETCH(QString, script);
    QFETCH(QString, events);
    QFETCH(QString, actions);
    QFETCH(int, limit);
    // Events that start with the port's opening replace the preparation.
    const bool prepared = !events.startsWith(QLatin1String("open"));
    const Run run = runCore(script, parseAll(prepared ? PreparedEvents + events : events), limit);
    QCOMPARE(run.done, steps(prepared ? Prepared + actions : actions));
    QVERIFY(!run.running);
}

QTEST_GUILESS_MAIN(TestRunCore)
#include "tst_runcore.moc"
