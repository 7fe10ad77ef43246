// Whole runs through the window in trace mode: scripts carried out through the real serial port
// against the modem simulator on a pseudo-terminal, checked by the bytes the modem received, the
// lines the editor highlighted in turn, the boxes, the trace and the run log; and how runs end
// early: a modem error, the user's abort and the question about lines that will be skipped.
// Every run leaves the window ready with the caret where it was. A run log that cannot be
// written is named once, after the run.
#include "ProgramFixture.h"
#include "ports/SerialLine.h"
#include "trace/TraceWindow.h"

#include <QListWidget>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace telmaris;
using namespace telmaris::test;

namespace {

const QString Success = QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.");
const QString Critical = QStringLiteral("[critical] Telmaris: ");
const QString Notice = QString::fromUtf8("[information] Telmaris - Anlage: ");

// The run log's lines of one command that the modem answered with OK.
QStringList answeredOk(const QByteArray &command) {
    return {QString::fromUtf8("gesendet: »%1<CR>«").arg(QString::fromLatin1(command)),
            QString::fromUtf8("empfangen: »«"), QString::fromUtf8("empfangen: »OK«")};
}

// Reset, initialisation, the lines, the closing reset of a run that succeeds, and the hang-up
// that ends every run.
QList<QByteArray> prepared(const QList<QByteArray> &lines, bool closingReset = true) {
    QList<QByteArray> all{"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1"};
    all += lines;
    if (closingReset)
        all << "AT&F";
    return all << "ATH0";
}

// Slot 1, named "Anlage", holds the script; the caret stands at 7. The lines the editor
// highlights are recorded in order.
struct ScriptRun : ProgramFixture {
    explicit ScriptRun(const QString &script, const QByteArray &settings = {})
        : ProgramFixture("CurrSkript=1\nSkriptName1=Anlage\n" + settings) {
        if (start(QStringLiteral("debug")))
            qFatal("the window did not start");
        editor()->setCrlfText(script);
        editor()->setCaret(7);
        QObject::connect(editor(), &QPlainTextEdit::selectionChanged, [this] {
            if (editor()->selLength() > 0)
                highlighted << editor()->selText();
        });
    }
    QStringList trace() const { return traceWindow()->lines(); }
    // The window is ready for the next run, the caret back where it was.
    bool idleAgain() const { return runState() == IdleState && editor()->selStart() == 7; }

    QStringList highlighted;
};

} // namespace

class TestScriptRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyword();
    void errorToInitStopsWithoutClosingReset();
    void abortSendsNothingButTheHangUp_data();
    void abortSendsNothingButTheHangUp();
    void unwritableLogIsNamedOnceAfterTheRun();
    void anOpenBoxLeavesTheRunGoing();
};

void TestScriptRuns::everyKeyword() {
    const QString script = QString::fromUtf8(
        "---- Anlage ----\r\nWÄHLE 11\r\nTONWAHL\r\nWÄHLE  22\r\nMODEM ATM1%eingabe%\r\n"
        "EINGABE Nummer?\r\nMODEM ATDT%EINGABE%;\r\nEINGABE Zweite?\r\nIMPULSWAHL\r\n"
        "WÄHLE %Eingabe%\r\n\r\n   \r\nHINWEIS Jetzt kommt %EINGABE%\r\nDIALOG Gleich\r\r\n"
        "pause 9\r\nWAHLE 12\r\nPAUSE 0\r\nFLASH\r\nERDTASTE\r\nTONWAHL\r\nAUFLEGEN");
    ScriptRun run(script, "DialPuls=1\n");
    // Pasted answers: line breaks and tabs are dropped.
    run.dialogs.answers = {QStringLiteral("35\r\n"), QStringLiteral("4\t7\n")};
    // Asked about the lines that will be skipped, "Nein" runs nothing, "Ja" the rest.
    run.dialogs.yesNo = {false, true};

    QVERIFY(run.runToEnd());
    QVERIFY(run.highlighted.isEmpty());
    QVERIFY(run.runToEnd());

    const QList<QByteArray> expected =
        prepared({"ATDP11;", "ATDT 22;", "ATM1", "ATDT35;", "ATDP47;", "ATDT!;", "ATDT!;", "ATH0"});
    const qsizetype awaited = expected.size() - 1; // the last hang-up's answer is not awaited
    QCOMPARE(run.modem1.commands(), expected);
    QCOMPARE(run.modem1->received(), expected.join('\r') + '\r');
    // Reset, initialisation, each dial, flash and hang-up leave the exchange a second.
    const QList<modemsim::ReceivedCommand> &received = run.modem1->commands();
    for (int i : {0, 1, 2, 3, 6, 7, 8, 9})
        QVERIFY2(received[i].time.msecsTo(received[i + 1].time) >= 950, received[i].text);
    // Every line was highlighted in turn; a lone CR does not end a line.
    QStringList lines = script.split(QStringLiteral("\r\n"));
    lines.removeAll(QString());
    QCOMPARE(run.highlighted, lines);
    const QString question =
        QStringLiteral("[question] Telmaris: Zeile 15: pause 9\rZeile 16: WAHLE "
                       "12\r\rDie markierten Zeilen werden nicht gesendet. "
                       "Trotzdem programmieren?");
    QCOMPARE(run.dialogs.messages,
             (QStringList{question, question, Notice + "Jetzt kommt 47", Notice + "Gleich\r",
                          "[information] Telmaris: " + Success}));
    QCOMPARE(run.dialogs.inputs.size(), 2);
    QCOMPARE(run.dialogs.inputs[1].title + ": " + run.dialogs.inputs[1].prompt,
             QString::fromUtf8("Telmaris - Anlage: Zweite?"));
    QCOMPARE(run.statusLine(), QStringLiteral(" Programmierung beendet"));
    QVERIFY(run.idleAgain());

    // The trace: per command what was sent, both answer lines, and how the wait ended.
    const QStringList trace = run.trace();
    QVERIFY(trace.size() >= 2 + 4 * awaited);
    QVERIFY(trace[1 + 4 * awaited].endsWith(QString::fromUtf8(" SkriptLine: »ATH0\r«")));
    QCOMPARE(trace[0], TraceSeparator);
    QVERIFY(trace[1].endsWith(QString::fromUtf8(" SkriptLine: »AT&F\r«")));
    QVERIFY(trace[2].endsWith(QString::fromUtf8(" RcvString: »«")));
    QVERIFY(trace[3].endsWith(QString::fromUtf8(" RcvString: »OK«")));
    QVERIFY(trace[4].endsWith(QString::fromUtf8(" ErrOccured: »Falsch«")));

    // The run log: the header, lines that will be skipped, each command as sent and each
    // answer, the inputs and notices with their answers, and the end as the user saw it.
    QStringList log{"Start: Skript 1 »Anlage«, Fenster mit Debugger, COM 1 (" +
                        run.modem1.devicePath() + "), 1200 Baud",
                    QString::fromUtf8("Zeile 15: »pause 9« – Diese Zeile wird übersprungen: "
                                      "Schlüsselwörter müssen in Großbuchstaben geschrieben "
                                      "werden."),
                    QString::fromUtf8("Zeile 16: »WAHLE 12« – Diese Zeile wird übersprungen: "
                                      "„WAHLE“ ist kein Schlüsselwort. Gemeint ist wohl "
                                      "„WÄHLE“.")};
    for (int i = 0; i < awaited; ++i) {
        log += answeredOk(expected[i]);
        if (i == 4)
            log << QString::fromUtf8("EINGABE: »Nummer?« – Antwort: »35«");
        if (i == 5)
            log << QString::fromUtf8("EINGABE: »Zweite?« – Antwort: »47«");
        if (i == 6)
            log << QString::fromUtf8("HINWEIS: »Jetzt kommt 47« – bestätigt")
                << QString::fromUtf8("DIALOG: »Gleich<CR>« – bestätigt");
    }
    log << QString::fromUtf8("gesendet: »ATH0<CR>«")
        << QString::fromUtf8("Ende: Programmierung beendet – »") + Success + "« – Dauer … s";
    QCOMPARE(run.folder.runLog(), log);

    // The trace window writes its list to a file the user picks; a file that cannot be
    // written is named with the reason.
    const QString traceFile = run.folder.filePath("Debugger.txt");
    run.dialogs.fileAnswers = {run.folder.filePath("kein Ordner/Debugger.txt"), traceFile};
    auto *save = run.traceWindow()->findChild<QPushButton *>("saveButton");
    QCOMPARE(save->text(), QString::fromUtf8("S&peichern…"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(run.dialogs.texts.last().startsWith("Die Liste konnte nicht gespeichert werden:\r" +
                                                run.folder.filePath("kein Ordner")));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(QString::fromUtf8(run.folder.readFile("Debugger.txt")),
             trace.join(u'\n').replace(u'\r', QStringLiteral("<CR>")) + u'\n');
    // Only its user may read it: it holds what was typed for EINGABE.
    struct stat traceFileMode = {};
    QVERIFY(::stat(QFile::encodeName(traceFile).constData(), &traceFileMode) == 0);
    QCOMPARE(traceFileMode.st_mode & 07777, mode_t(0600));

    // The next run dials by the setting again and still knows the last input. A dash the line
    // cannot carry goes out as "?", which the trace shows as sent, and the modem refuses. A
    // command that the input makes longer than 40 characters goes out all the same, and the
    // log names its line.
    run.modem1->clearCommands();
    const QString longLine =
        QStringLiteral("MODEM ATS7=%EINGABE%S8=2S6=2S10=14S11=95S12=50M1L1X4M1");
    run.editor()->setCrlfText(QString::fromUtf8("WÄHLE\r\n") + longLine +
                              QString::fromUtf8("\r\nWÄHLE 1–2"));
    QVERIFY(run.runToEnd());
    QCOMPARE(run.modem1.commands(),
             prepared({"ATDP;", "ATS7=47S8=2S6=2S10=14S11=95S12=50M1L1X4M1", "ATDP1?2;"}, false));
    QCOMPARE(run.trace().filter(QString::fromUtf8(" SkriptLine: »ATDP1?2;\r«")).size(), 1);
    QCOMPARE(run.folder.runLog().filter(QStringLiteral("Zeile 2: ")),
             QStringList{QString::fromUtf8("Zeile 2: »") + longLine +
                         QString::fromUtf8("« – Diese Zeile wird gesendet, aber ihr Modembefehl "
                                           "ist 41 Zeichen lang (von „AT“ bis zum Zeilenende). "
                                           "Viele Modems nehmen höchstens 40 Zeichen an und "
                                           "antworten auf einen längeren Befehl mit ERROR.")});

    // The trace window's newest line is the selected one, in view; "&Leeren" empties the list.
    // "&Ende" closes the trace window with the main window, and writes the settings.
    TraceWindow *traceWindow = run.traceWindow();
    QVERIFY(traceWindow->isVisible());
    auto *list = traceWindow->findChild<QListWidget *>(QStringLiteral("traceLines"));
    QCOMPARE(list->currentRow(), list->count() - 1);
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->currentItem())));
    QVERIFY(!list->viewport()->rect().intersects(list->visualItemRect(list->item(0))));
    auto *clear = traceWindow->findChild<QPushButton *>(QStringLiteral("clearButton"));
    QCOMPARE(clear->text(), QStringLiteral("&Leeren"));
    QTest::mouseClick(clear, Qt::LeftButton);
    QVERIFY(run.trace().isEmpty());
    // An empty list is not saved: the user is told so, and no file is asked for or written.
    // Appended, not assigned from a brace list: Qt 6.8 asserts when such an assignment meets a
    // list that takeFirst() has emptied.
    run.dialogs.fileAnswers.append(run.folder.filePath("Leer.txt"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(run.dialogs.messages.last(),
             QString::fromUtf8("[information] Telmaris: Der Debugger enthält keine Zeilen; es "
                               "gibt nichts zu speichern."));
    QCOMPARE(run.dialogs.fileAnswers.size(), 1);
    QVERIFY(!QFile::exists(run.folder.filePath("Leer.txt")));
    QTest::mouseClick(run.button("endButton"), Qt::LeftButton);
    QVERIFY(!traceWindow->isVisible() && !run.window->isVisible());
    QCOMPARE(run.stored(QStringLiteral("ModemReset")), QStringLiteral("&F"));
}

void TestScriptRuns::errorToInitStopsWithoutClosingReset() {
    ScriptRun run(QStringLiteral("MODEM ATM1"));
    run.modem1->setErrorOn("V1");

    QVERIFY(run.runToEnd());

    QCOMPARE(run.modem1.commands(), prepared({}, false));
    QVERIFY(run.highlighted.isEmpty());
    // The wait ends with the ERROR, and the hang-up follows without waiting for its answer.
    const QStringList trace = run.trace();
    const qsizetype error =
        trace.indexOf(QRegularExpression(QString::fromUtf8(".* ErrOccured: »Wahr«")));
    QVERIFY(error > 0 &&
            trace.value(error + 1).endsWith(QString::fromUtf8(" SkriptLine: »ATH0\r«")));
    // The box and the log name the refused command as the run core's and the program's tests
    // show; the status line names the error.
    QCOMPARE(run.statusLine(), QStringLiteral(" Das Modem hat einen Fehler gemeldet!"));
    QVERIFY(run.idleAgain());
    // The port was given back: another program can take it.
    SerialLine other;
    QVERIFY(other.open(run.modem1.devicePath(), 9600, true));
}

// After an abort nothing more reaches the line but the hang-up: no script line, no closing
// reset, not even a notice; a pause in progress ends at once. A cancelled input box is an
// abort. "&Abbrechen" is pressed a tenth of a second after the given line is highlighted;
// the modem's answer to the hang-up arrives while the abort's box is open and leaves the
// abort's status.
void TestScriptRuns::abortSendsNothingButTheHangUp_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("abortAt"); // empty: no click
    QTest::addColumn<QList<QByteArray>>("sent");
    const QString pause = QStringLiteral("PAUSE 60"); // longer than the run's watchdog
    QTest::newRow("during a pause before a dial line")
        << pause + QString::fromUtf8("\r\nWÄHLE 7010301234\r\nMODEM ATL1") << pause
        << prepared({}, false);
    QTest::newRow("input box cancelled")
        << QString::fromUtf8("MODEM ATM1\r\nEINGABE Code?\r\nWÄHLE #9%EINGABE%\r\nMODEM ATL1")
        << QString() << prepared({"ATM1"}, false);
}

void TestScriptRuns::abortSendsNothingButTheHangUp() {
    QFETCH(QString, script);
    QFETCH(QString, abortAt);
    QFETCH(QList<QByteArray>, sent);
    ScriptRun run(script);
    QList<QByteArray> sentAtAbort;
    QByteArray fileAtAbort;
    const auto abort = [&] {
        sentAtAbort = run.modem1.commands();
        fileAtAbort = run.folder.readIni();
        // While the script runs, only "&Abbrechen" and help are usable, the editor is locked
        // (typing, its shorthand, Ctrl+Y and Shift+Enter change nothing), the tab keys do nothing,
        // and the window cannot be closed.
        QCOMPARE(run.runState(), QStringLiteral("&Abbrechen on on off off off off locked"));
        run.editor()->setCaret(int(script.size())); // after a lone letter in one row
        QTest::keyClicks(run.editor(), QStringLiteral("\re "));
        QTest::keyClick(run.editor(), Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(run.editor(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(run.editor(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(run.shownTab(), 1);
        QVERIFY(!run.window->close() && run.window->isVisible());
        // The line runs with RTS/CTS flow control.
        const int fd = ::open(QFile::encodeName(run.modem1.devicePath()).constData(),
                              O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios line{};
        QVERIFY(fd >= 0 && tcgetattr(fd, &line) == 0 && (line.c_cflag & CRTSCTS));
        ::close(fd);
        QTest::mouseClick(run.button("programButton"), Qt::LeftButton);
    };
    QObject::connect(run.editor(), &QPlainTextEdit::selectionChanged, [&] {
        if (!abortAt.isEmpty() && run.editor()->selText() == abortAt)
            QTimer::singleShot(100, abort);
    });
    run.dialogs.onMessage = [&](const QString &) {
        QTRY_VERIFY(run.trace().last().endsWith(QString::fromUtf8(" RcvString: »OK«")));
    };

    QVERIFY(run.runToEnd());

    if (!abortAt.isEmpty())
        QCOMPARE(sentAtAbort, sent.mid(0, sent.size() - 1)); // all but the hang-up
    QCOMPARE(run.modem1.commands(), sent);
    QCOMPARE(
        run.dialogs.messages,
        QStringList{Critical + QString::fromUtf8("Das Skript wurde wunschgemäß abgebrochen.")});
    QCOMPARE(run.statusLine(), QStringLiteral(" Programmabbruch durch Anwender!"));
    QVERIFY(run.idleAgain());
    QCOMPARE(run.editor()->crlfText(), script);
    if (!abortAt.isEmpty())
        QCOMPARE(run.folder.readIni(), fileAtAbort); // the refused close wrote nothing

    // The log has every command sent, the moment of the abort, and the end.
    const QStringList log = run.folder.runLog();
    QCOMPARE(log.filter(QStringLiteral("gesendet: ")).size(), sent.size());
    QCOMPARE(log.count(QStringLiteral("Abbruch durch Anwender angefordert")), 1);
    QCOMPARE(log.last(), QString::fromUtf8("Ende: Programmabbruch durch Anwender! – »Das Skript "
                                           "wurde wunschgemäß abgebrochen.« – Dauer … s"));
}

// The log's folder cannot be made: the run goes on as always, and afterwards the status line
// names the log once; the next run of the same program start ends as usual.
void TestScriptRuns::unwritableLogIsNamedOnceAfterTheRun() {
    ScriptRun run(QString::fromUtf8("WÄHLE 5"));
    run.folder.writeFile(QStringLiteral("state/Telmaris"), "a file where the folder belongs");

    QVERIFY(run.runToEnd());
    QCOMPARE(run.modem1.commands(), prepared({"ATDT5;"}));
    QCOMPARE(run.dialogs.messages, QStringList{"[information] Telmaris: " + Success});
    QCOMPARE(run.statusLine(), " Das Protokoll konnte nicht geschrieben werden: Der Ordner " +
                                   run.folder.filePath("state/Telmaris") +
                                   " konnte nicht angelegt werden.");

    QVERIFY(run.runToEnd());
    QCOMPARE(run.statusLine(), QStringLiteral(" Programmierung beendet"));
    QCOMPARE(run.dialogs.messages.size(), 2);
}

// The help's box, left open for four seconds during the second after a dial, holds its own
// loop; the next dial still goes out a second after the first (well before the box closes),
// and the run ends while the box is open.
void TestScriptRuns::anOpenBoxLeavesTheRunGoing() {
    ScriptRun run(QString::fromUtf8("WÄHLE 1\r\nWÄHLE 2"));
    bool dialled = false;
    QObject::connect(&run.modem1.modem(), &modemsim::ModemSimulator::commandReceived,
                     [&](const QByteArray &command) {
                         if (command == "ATDT1;" && !std::exchange(dialled, true))
                             QTimer::singleShot(100, [&run] {
                                 QTest::mouseClick(run.button("helpButton"), Qt::LeftButton);
                             });
                     });
    bool endedWhileOpen = false;
    run.dialogs.onMessage = [&](const QString &text) {
        if (text.startsWith(QStringLiteral("Die Online-Hilfe"))) // open for 4 seconds
            endedWhileOpen = QTest::qWaitFor([&run] { return !run.running(); }, 4000);
    };

    QVERIFY(run.runToEnd());

    QVERIFY(endedWhileOpen);
    const QList<modemsim::ReceivedCommand> &received = run.modem1->commands();
    QCOMPARE(received.at(3).text, QByteArray("ATDT2;"));
    const qint64 apart = received.at(2).time.msecsTo(received.at(3).time);
    QVERIFY2(apart >= 950 && apart < 2500, qPrintable(QString::number(apart)));
}

QTEST_MAIN(TestScriptRuns)
#include "tst_scriptruns.moc"
