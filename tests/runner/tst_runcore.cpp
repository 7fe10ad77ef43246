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

QString outcomeName(RunOutcome outcome) {
    const char *names[] = {"Success",  "ModemError", "DialFailed", "PortError",  "LineLost",
                           "NoAnswer", "UserAbort",  "Signalled",  "PortFailure"};
    return QString::fromLatin1(names[int(outcome)]);
}

// What the run does, one line per action.
QStringList render(const QList<RunAction> &actions) {
    QStringList lines;
    const auto readable = [](QString text) { return text.replace(u'\r', u'|'); };
    for (const RunAction &a : actions) {
        switch (a.kind) {
        case RunAction::OpenPort:
            lines << QStringLiteral("open COM%1").arg(a.number);
            break;
        case RunAction::Write:
            lines << "write " + QString::fromLatin1(a.bytes).replace(u'\r', QStringLiteral("<CR>"));
            break;
        case RunAction::StartTimer:
            lines << QStringLiteral("timer %1").arg(a.number);
            break;
        case RunAction::StopTimer:
            lines << QStringLiteral("stop timer");
            break;
        case RunAction::Status:
            if (!a.text.startsWith(QStringLiteral("Letzte Modem-Antwort")))
                lines << "status " + a.text;
            break;
        case RunAction::SelectLine:
            lines << QStringLiteral("select %1+%2").arg(a.number).arg(a.length);
            break;
        case RunAction::ShowMessage:
            lines << "box " + readable(a.message);
            break;
        case RunAction::AskInput:
            lines << "input " + a.message;
            break;
        case RunAction::CloseBox:
            lines << QStringLiteral("close box");
            break;
        case RunAction::Beep:
            lines << QStringLiteral("beep");
            break;
        case RunAction::Continue:
            lines << QStringLiteral("continue");
            break;
        case RunAction::ClosePort:
            lines << QStringLiteral("close port");
            break;
        case RunAction::Finish:
            lines << "finish " + outcomeName(a.outcome);
            break;
        default: // trace and log lines
            break;
        }
    }
    return lines;
}

// One event per word: "opened", "open failed", "ok" (the modem's usual OK), "rx:<bytes>",
// "timeout", "proceed", "closed" (a box closed), "text:<answer>", "cancel", "abort", "lost",
// "failed", "stuck" (output does not drain), "signal".
RunEvent parse(const QString &word) {
    RunEvent e{RunEvent::PortOpened, {}, {}, {}, 0};
    if (word == QLatin1String("open failed")) {
        e.text = QStringLiteral("Das Gerät ist nicht da.");
    } else if (word == QLatin1String("ok") || word.startsWith(QLatin1String("rx:"))) {
        e.kind = RunEvent::Received;
        e.bytes = word == QLatin1String("ok") ? QByteArray("\r\nOK\r\n") : word.mid(3).toLatin1();
    } else if (word == QLatin1String("timeout")) {
        e.kind = RunEvent::TimeOut;
    } else if (word == QLatin1String("proceed")) {
        e.kind = RunEvent::Proceed;
    } else if (word == QLatin1String("closed") || word == QLatin1String("cancel") ||
               word.startsWith(QLatin1String("text:"))) {
        e.kind = RunEvent::BoxClosed;
        if (word.startsWith(QLatin1String("text:")))
            e.answer = word.mid(5);
    } else if (word == QLatin1String("abort")) {
        e.kind = RunEvent::Abort;
    } else if (word == QLatin1String("lost")) {
        e.kind = RunEvent::LineLost;
    } else if (word == QLatin1String("failed") || word == QLatin1String("stuck")) {
        e.kind = RunEvent::LineFailed;
        e.number = word == QLatin1String("stuck") ? 1 : 0;
    } else if (word == QLatin1String("signal")) {
        e.kind = RunEvent::Signal;
        e.text = QStringLiteral("SIGTERM");
    }
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
    setup.boxTitle = QStringLiteral("Telmaris - Anlage");
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

// Up to the first line: the port opens, reset and initialisation are answered and followed by
// their second.
const QStringList PreparedEvents{"opened", "ok", "timeout", "ok", "timeout"};
const QStringList Prepared{"open COM1",
                           "status Modem-Reset",
                           "write AT&F<CR>",
                           "timer 1000",
                           "status Modem-Initialisierung",
                           "write ATE0<CR>",
                           "timer 1000",
                           QString::fromUtf8("status Programmierung läuft ...")};

QList<RunEvent> parseAll(const QStringList &words) {
    QList<RunEvent> events;
    for (const QString &word : words)
        events << parse(word);
    return events;
}

} // namespace

class TestRunCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyAnswerFormEndsItsWait_data();
    void everyAnswerFormEndsItsWait();
    void everyEndLeavesByOneWay_data();
    void everyEndLeavesByOneWay();
};

// Each command is answered in the given form; the run goes through to its end the same way.
void TestRunCore::everyAnswerFormEndsItsWait_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("byteByByte");
    QTest::newRow("CR LF") << QByteArray("\r\nOK\r\n") << false;
    QTest::newRow("split byte by byte") << QByteArray("\r\nOK\r\n") << true;
    // A call comes in: RING in the same read neither undoes the OK nor ends a later wait.
    QTest::newRow("OK then RING in one read") << QByteArray("\r\nOK\r\n\r\nRING\r\n") << false;
    QTest::newRow("RING, caller id, then OK")
        << QByteArray("\r\nRING\r\n\r\nNMBR = 0301234\r\n\r\nOK\r\n") << true;
    QTest::newRow("LF only") << QByteArray("\nOK\n") << false;
}

void TestRunCore::everyAnswerFormEndsItsWait() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, byteByByte);
    QList<RunEvent> events{parse("opened")};
    const auto answerOnce = [&] {
        for (qsizetype i = 0; i < answer.size(); i += byteByByte ? 1 : answer.size())
            events << parse("rx:" + QString::fromLatin1(answer.mid(i, byteByByte ? 1 : -1)));
    };
    // Reset and initialisation, each with its second; the dial, its second and TONWAHL, which
    // sends nothing; the MODEM line, which has no second of its own; the closing reset.
    for (const QStringList &after :
         QList<QStringList>{{"timeout"}, {"timeout"}, {"timeout", "proceed"}, {"proceed"}, {}}) {
        answerOnce();
        events += parseAll(after);
    }
    const Run run = runCore(QString::fromUtf8("WÄHLE 1\r\nTONWAHL\r\nMODEM ATM2"), events);
    const QStringList expected =
        Prepared +
        QStringList{"select 0+7",     "write ATDT1;<CR>", "timer 1000",
                    "select 9+7",     "continue",         "select 18+10",
                    "write ATM2<CR>", "continue",         "status Modem-Reset",
                    "write AT&F<CR>", "write ATH0<CR>",   "status Programmierung beendet",
                    "close port",     "finish Success"};
    QCOMPARE(run.done, expected);
    QVERIFY(!run.running);
}

// Every way a run ends: what is still sent (only the hang-up, and only where the line is
// there), the status, the box, and that the port is closed last.
void TestRunCore::everyEndLeavesByOneWay_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("events");  // after the preparation
    QTest::addColumn<QStringList>("actions"); // after the preparation
    QTest::addColumn<int>("limit");           // the answer time limit in seconds
    const QString abortBox = QString::fromUtf8("box Das Skript wurde wunschgemäß abgebrochen.");
    const QStringList aborted{
        "write ATH0<CR>", "beep",       "status Programmabbruch durch Anwender!",
        abortBox,         "close port", "finish UserAbort"};
    const QStringList lost{"status Modem-Problem!", "box " + LineLost, "close port",
                           "finish LineLost"};
    const QString dial = QStringLiteral("WÄHLE 1");
    const QString pause = QStringLiteral("PAUSE 5\r\nWÄHLE 1");
    const QString input = QStringLiteral("EINGABE Nummer?\r\nWÄHLE %EINGABE%");
    const QStringList dialling{"select 0+7", "write ATDT1;<CR>"};
    const QStringList pausing{"select 0+7", "timer 5000"};
    const QStringList asking{"select 0+15", "input Nummer?"};

    QTest::newRow("no dial tone") << dial << QStringList{"rx:\r\nNO DIALTONE\r\n", "closed"}
                                  << dialling + QStringList{"write ATH0<CR>",
                                                            "status Das Modem hat einen Fehler "
                                                            "gemeldet!",
                                                            "box " + texts::ModemErrorMessage +
                                                                '|' + texts::NoDialtoneLine,
                                                            "close port", "finish DialFailed"}
                                  << 0;
    QTest::newRow("NO CARRIER during a pause")
        << pause << QStringList{"rx:NO CARRIER\r", "timeout", "ok", "timeout", "ok"}
        << pausing + QStringList{"select 9+7",
                                 "write ATDT1;<CR>",
                                 "timer 1000",
                                 "status Modem-Reset",
                                 "write AT&F<CR>",
                                 "write ATH0<CR>",
                                 "status Programmierung beendet",
                                 "close port",
                                 "finish Success"}
        << 0;
    QTest::newRow("abort during a pause") << pause << QStringList{"abort", "closed"}
                                          << pausing + QStringList{"stop timer"} + aborted << 0;
    QTest::newRow("abort in an EINGABE box") << input << QStringList{"abort", "closed"}
                                             << asking + QStringList{"close box"} + aborted << 0;
    QTest::newRow("EINGABE cancelled")
        << input << QStringList{"cancel", "closed"} << asking + aborted << 0;
    QTest::newRow("line lost during a pause") << pause << QStringList{"lost", "closed"}
                                              << pausing + QStringList{"stop timer"} + lost << 0;
    QTest::newRow("line lost while an answer is awaited")
        << dial << QStringList{"lost", "closed"} << dialling + lost << 0;
    QTest::newRow("line lost at the closing reset")
        << dial << QStringList{"ok", "timeout", "lost", "closed"}
        << dialling + QStringList{"timer 1000", "status Modem-Reset", "write AT&F<CR>"} + lost << 0;
    QTest::newRow("line lost in an EINGABE box")
        << input << QStringList{"lost", "closed"} << asking + QStringList{"close box"} + lost << 0;
    QTest::newRow("output stuck") << dial << QStringList{"stuck", "closed"}
                                  << dialling + QStringList{"status Modem-Problem!",
                                                            "box " + texts::PortErrorMessage,
                                                            "close port", "finish PortError"}
                                  << 0;
    // The program is asked to stop: no box waits for anyone.
    QTest::newRow("signal during a pause")
        << pause << QStringList{"signal"}
        << pausing + QStringList{"stop timer", "write ATH0<CR>",
                                 "status Programmabbruch durch Signal SIGTERM!", "close port",
                                 "finish Signalled"}
        << 0;
    QTest::newRow("signal in an EINGABE box")
        << input << QStringList{"signal"}
        << asking + QStringList{"close box", "write ATH0<CR>",
                                "status Programmabbruch durch Signal SIGTERM!", "close port",
                                "finish Signalled"}
        << 0;
    QTest::newRow("signal while the end's box is open")
        << dial << QStringList{"rx:ERROR\r", "signal"}
        << dialling + QStringList{"write ATH0<CR>",
                                  "status Das Modem hat einen Fehler gemeldet!",
                                  "box " + texts::ModemErrorMessage,
                                  "close box",
                                  "close port",
                                  "finish ModemError"}
        << 0;
    // Once over, the run takes nothing more.
    QTest::newRow("events after the end")
        << dial << QStringList{"abort", "closed", "ok", "timeout", "abort", "lost", "signal"}
        << dialling + aborted << 0;
    // Before the lines: the port cannot be opened; abort or a lost line before the reset's
    // answer; the answer time limit of an unattended run.
    QTest::newRow("port cannot be opened")
        << dial << QStringList{"open failed", "closed"}
        << QStringList{"open COM1", "status Schnittstellen-Problem!",
                       QString::fromUtf8("box Com-Port 1 ist nicht verfügbar.|Das Gerät ist "
                                         "nicht da."),
                       "close port", "finish PortFailure"}
        << 0;
    QTest::newRow("abort before the reset's answer")
        << dial << QStringList{"opened", "abort", "closed"}
        << QStringList{"open COM1", "status Modem-Reset", "write AT&F<CR>"} + aborted << 0;
    QTest::newRow("line lost before the reset's answer")
        << dial << QStringList{"opened", "lost", "closed"}
        << QStringList{"open COM1", "status Modem-Reset", "write AT&F<CR>"} + lost << 0;
    QTest::newRow("line lost at the initialisation")
        << dial << QStringList{"opened", "ok", "timeout", "lost", "closed"}
        << QStringList{"open COM1",  "status Modem-Reset",           "write AT&F<CR>",
                       "timer 1000", "status Modem-Initialisierung", "write ATE0<CR>"} +
               lost
        << 0;
    QTest::newRow("no answer within the limit")
        << dial << QStringList{"opened", "ok", "timeout", "timeout", "closed"}
        << QStringList{"open COM1",
                       "status Modem-Reset",
                       "write AT&F<CR>",
                       "timer 60000",
                       "stop timer",
                       "timer 1000",
                       "status Modem-Initialisierung",
                       "write ATE0<CR>",
                       "timer 60000",
                       "write ATH0<CR>",
                       "status Modem-Problem!",
                       "box Das Modem hat nicht innerhalb von 60 Sekunden geantwortet.",
                       "close port",
                       "finish NoAnswer"}
        << 60;
}

void TestRunCore::everyEndLeavesByOneWay() {
    QFETCH(QString, script);
    QFETCH(QStringList, events);
    QFETCH(QStringList, actions);
    QFETCH(int, limit);
    // Events that start with the port's opening replace the preparation.
    const bool prepared = !events.first().startsWith(QLatin1String("open"));
    const Run run = runCore(script, parseAll(prepared ? PreparedEvents + events : events), limit);
    QCOMPARE(run.done, prepared ? Prepared + actions : actions);
    QVERIFY(!run.running);
}

QTEST_GUILESS_MAIN(TestRunCore)
#include "tst_runcore.moc"
