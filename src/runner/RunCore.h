#pragma once
// The run of a script as a state machine without I/O: events go in (the port opened, answer
// bytes, the timer ran out, the user closed a box, abort, the line lost or failing, a signal),
// actions come out (write these bytes, start the timer, show a box, select a line, write the
// trace and the log, close the port, finish). It knows no port, no timer and no window, so a
// test drives it with lists of events; the driver (ScriptRunner) carries the actions out.
//
// Every end leaves by one way out: hang up where the line is still there (without awaiting
// the answer), the status line, the log's last line, the message box, then the port is closed
// and the run finished with its outcome.

#include "common/Dialogs.h"
#include "language/ScriptLanguage.h"
#include "runner/AnswerCollector.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace telmaris {

enum class RunOutcome {
    Success,
    ModemError,  // the modem answered ERROR
    DialFailed,  // NO DIALTONE, NO CARRIER or NO ANSWER to the awaited command
    PortError,   // the port reported an error event
    LineLost,    // the device vanished (unplugged, switched off)
    NoAnswer,    // the answer time limit passed
    UserAbort,   // "&Abbrechen", or a cancelled input box
    Signalled,   // SIGTERM, SIGINT or SIGHUP
    PortFailure, // the port could not be opened
};

// What the run is given at its start.
struct RunSetup {
    int comPort = 1;
    QString device;
    QString modemReset; // without the leading "AT"
    QString modemInit;
    bool pulseDialing = false;
    QString boxTitle;   // of HINWEIS, DIALOG and EINGABE boxes: "Telmaris - <name>"
    QString scriptText; // CR LF text, read once: the editor is locked while the run goes
    bool autoMode = false;
    int answerTimeLimitSeconds = 0; // 0: an answer is awaited for ever
    // The title of the box a failed run ends with. Where boxes become lines on standard error
    // it names the script and the port, so that a scheduled job's mail says which run failed.
    QString failureTitle = QStringLiteral("Telmaris");
};

struct RunEvent {
    enum Kind {
        PortOpened, // text: empty, or why the port could not be opened
        Received,   // bytes
        TimeOut,    // the timer the run started has run out
        BoxClosed,  // answer: an input box's text, nothing when it was cancelled
        Proceed,    // the driver came back after a Continue
        Abort,      // "&Abbrechen"
        LineLost,   // the device vanished
        LineFailed, // another error of the port; number 1 when its output no longer drains
        Signal,     // number: the signal, text: its name
    };
    Kind kind;
    QByteArray bytes;
    QString text;
    std::optional<QString> answer;
    int number = 0;
};

struct RunAction {
    enum Kind {
        OpenPort,    // number: the COM port, text: the device
        Write,       // bytes
        StartTimer,  // number: milliseconds
        StopTimer,   //
        Status,      // text
        SelectLine,  // number: start, length: length (in the CR LF text, from 0)
        Trace,       // label and text: a trace line without its time
        LogSent,     // bytes
        LogReceived, // text
        LogNote,     // text
        LogEnd,      // text: status, message: the box shown (empty when none)
        ShowMessage, // icon, title, message; BoxClosed follows
        AskInput,    // title, message: the prompt; BoxClosed follows
        CloseBox,    // the box that is open, as cancelled; no BoxClosed follows
        Beep,        //
        Continue,    // come back with Proceed once the window had its turn
        ClosePort,   //
        Finish,      // outcome; the last action of a run
    };
    Kind kind;
    QByteArray bytes;
    QString text;
    QString label;
    QString title;
    QString message;
    MessageIcon icon = MessageIcon::Information;
    int number = 0;
    int length = 0;
    RunOutcome outcome = RunOutcome::Success;
};

class RunCore {
public:
    // Why a script line will be skipped, or nothing when it runs: the log lists such lines at
    // the start of each run.
    using SkipCheck = std::function<QString(const QString &line)>;
    void setSkipCheck(SkipCheck check) { skipCheck_ = std::move(check); }

    // Starts a run. Precondition: !running().
    QList<RunAction> start(const RunSetup &setup);
    QList<RunAction> handle(const RunEvent &event);

    bool running() const { return stage_ != Stage::Idle; }
    // The placeholder's value: the answer to the last EINGABE, kept from run to run.

private:
    enum class Stage { Idle, Opening, Reset, Init, Lines, ClosingReset, Ending };
    enum class Wait { None, Answer, Pause, Box, EndBox, Continue };

    // How a run ends: what the status line and the box say, and whether the line is hung up.
    struct Ending {
        RunOutcome outcome;
        QString status;
        QString message;
        bool hangUp = true;  // false where the line is gone or its output stuck
        bool showBox = true; // false for a signal: the program is about to end
    };

    void out(RunAction action) { actions_.append(std::move(action)); }
    void status(const QString &text);
    void trace(const QString &label, const QString &text);
    void logNote(const QString &text);
    void write(const QString &command);
    // from: what sent it, named should the modem refuse it: "Zeile 3: WÄHLE 55", "Modem-Reset".
    void send(const QString &command, const QString &from);
    void pause(int milliseconds);
    void portOpened(const QString &failure);
    void answerLine(const AnswerLine &line);
    void answered(AnswerKind kind);
    void timeOut();
    void boxClosed(const std::optional<QString> &answer);
    void afterPause();
    void nextLine();
    void carryOutLine(int number, const QString &lineText); // number counted from 1
    void logSkippedLines();
    void awaitNothingMore();
    // The one way out.
    void end(const Ending &ending);
    void closeRun();

    QString eingabeText_;
    Keyword lastKeyword_ = Keyword::None; // of the line carried out last
    Keyword boxKeyword_ = Keyword::None;  // of the box that is open
    QString boxText_;
    QString awaitedCommand_; // the command whose answer is awaited, as sent, without its CR
    QString awaitedFrom_;    // and what sent it
    bool portOpen_ = false;

    SkipCheck skipCheck_;
    RunSetup setup_;
    Stage stage_ = Stage::Idle;
    Wait wait_ = Wait::None;
    QList<ScriptLineRange> lines_;
    qsizetype nextLine_ = 0;
    AnswerCollector answers_;
    RunOutcome outcome_ = RunOutcome::Success;
    QList<RunAction> actions_;
};

} // namespace telmaris
