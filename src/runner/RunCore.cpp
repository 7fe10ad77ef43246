#include "runner/RunCore.h"

#include "common/UserTexts.h"
#include "runner/TraceLines.h"

namespace telmaris {

namespace {

const QString Title = QStringLiteral("Telmaris");
constexpr int OneSecond = 1000;

RunAction action(RunAction::Kind kind) {
    RunAction a;
    a.kind = kind;
    return a;
}

QString quoted(const QString &text) {
    return QStringLiteral("\u00bb") + text + QStringLiteral("\u00ab");
}

// The run log's note about script line number (counted from 1).
QString lineNote(int number, const QString &lineText, const QString &reason) {
    return QStringLiteral("Zeile %1: %2 \u2013 %3").arg(number).arg(quoted(lineText), reason);
}

// What the modem's answer to a failed dial means, and what helps.
QString failureAnswerLine(AnswerKind kind) {
    switch (kind) {
    case AnswerKind::NoDialtone:
        return texts::NoDialtoneLine;
    case AnswerKind::NoCarrier:
        return texts::NoCarrierLine;
    case AnswerKind::NoAnswer:
        return texts::NoAnswerLine;
    default:
        return {};
    }
}

} // namespace

QList<RunAction> RunCore::start(const RunSetup &setup) {
    Q_ASSERT(!running());
    actions_.clear();
    setup_ = setup;
    lines_ = splitScriptLines(setup_.scriptText);
    nextLine_ = 0;
    answers_.clear();
    portOpen_ = false;
    wait_ = Wait::None;
    stage_ = Stage::Opening;
    logSkippedLines();
    RunAction open = action(RunAction::OpenPort);
    open.number = setup_.comPort;
    open.text = setup_.device;
    out(open);
    return std::exchange(actions_, {});
}

QList<RunAction> RunCore::handle(const RunEvent &event) {
    actions_.clear();
    if (!running())
        return {}; // the run is over: a late answer, a timer or a box of the past
    switch (event.kind) {
    case RunEvent::PortOpened:
        if (stage_ == Stage::Opening)
            portOpened(event.text);
        break;
    case RunEvent::Received: {
        // Each line is judged on its own: a final answer stays final whatever follows it.
        const QList<AnswerLine> lines = answers_.feed(event.bytes);
        for (const AnswerLine &line : lines) {
            if (!running())
                break; // the answer ended the run: what came with it is of no run any more
            answerLine(line);
        }
        break;
    }
    case RunEvent::TimeOut:
        timeOut();
        break;
    case RunEvent::BoxClosed:
        boxClosed(event.answer);
        break;
    case RunEvent::Proceed:
        if (wait_ == Wait::Continue) {
            wait_ = Wait::None;
            nextLine();
        }
        break;
    case RunEvent::Abort:
        if (stage_ == Stage::Ending)
            break;
        logNote(QStringLiteral("Abbruch durch Anwender angefordert"));
        end({RunOutcome::UserAbort, texts::UserAbortStatus, texts::UserAbortMessage});
        break;
    case RunEvent::LineLost:
        if (stage_ == Stage::Ending)
            break;
        portOpen_ = false;
        logNote(texts::LineLostLine);
        end({RunOutcome::LineLost, texts::PortErrorStatus,
             texts::PortErrorMessage + u'\r' + texts::LineLostLine, false});
        break;
    case RunEvent::LineFailed:
        if (stage_ == Stage::Ending)
            break;
        // Output that no longer drains would hold the hang-up, and the close, for long.
        end({RunOutcome::PortError, texts::PortErrorStatus, texts::PortErrorMessage,
             event.number == 0});
        break;
    case RunEvent::Signal:
        if (stage_ == Stage::Ending) {
            // Its box is open: the run is over but for the port.
            if (wait_ == Wait::EndBox) {
                out(action(RunAction::CloseBox));
                wait_ = Wait::None;
                closeRun();
            }
            break;
        }
        end({RunOutcome::Signalled, texts::SignalStatus.arg(event.text),
             texts::SignalMessage.arg(event.text), true, false});
        break;
    }
    return std::exchange(actions_, {});
}

void RunCore::status(const QString &text) {
    RunAction a = action(RunAction::Status);
    a.text = text;
    out(a);
}

void RunCore::trace(const QString &label, const QString &text) {
    RunAction a = action(RunAction::Trace);
    a.label = label;
    a.text = text;
    out(a);
}

void RunCore::logNote(const QString &text) {
    RunAction a = action(RunAction::LogNote);
    a.text = text;
    out(a);
}

// One character per byte: what the user typed beyond ASCII goes out as Latin-1, a character
// Latin-1 lacks as "?". The trace and the log show these bytes, not the text.
void RunCore::write(const QString &command) {
    const QByteArray bytes = command.toLatin1();
    trace(QStringLiteral("SkriptLine"), QString::fromLatin1(bytes));
    RunAction logged = action(RunAction::LogSent);
    logged.bytes = bytes;
    out(logged);
    RunAction written = action(RunAction::Write);
    written.bytes = bytes;
    out(written);
}

// Writes a command and waits for its final answer, within the answer time limit if there is
// one.
void RunCore::send(const QString &command, const QString &from) {
    write(command);
    awaitedCommand_ = QString::fromLatin1(command.toLatin1());
    if (awaitedCommand_.endsWith(u'\r'))
        awaitedCommand_.chop(1);
    awaitedFrom_ = from;
    wait_ = Wait::Answer;
    if (setup_.answerTimeLimitSeconds > 0) {
        RunAction timer = action(RunAction::StartTimer);
        timer.number = setup_.answerTimeLimitSeconds * OneSecond;
        out(timer);
    }
}

void RunCore::pause(int milliseconds) {
    RunAction timer = action(RunAction::StartTimer);
    timer.number = milliseconds;
    out(timer);
    wait_ = Wait::Pause;
}

void RunCore::portOpened(const QString &failure) {
    if (!failure.isEmpty()) {
        logNote(QStringLiteral("COM%1 (%2): %3").arg(setup_.comPort).arg(setup_.device, failure));
        // The fixed text, and below it why and what the user can do about it.
        end({RunOutcome::PortFailure, texts::PortFailureStatus,
             texts::PortUnavailableMessage.arg(setup_.comPort) + u'\r' + failure, false});
        return;
    }
    portOpen_ = true;
    stage_ = Stage::Reset;
    status(texts::ModemResetStatus);
    send(atCommand(setup_.modemReset), texts::ModemResetStatus);
}

void RunCore::answerLine(const AnswerLine &line) {
    trace(QStringLiteral("RcvString"), line.text);
    // Once the run's end is decided an answer only reaches the trace: the status line keeps
    // the run's final status, and the log ends with the run's end.
    if (stage_ == Stage::Ending)
        return;
    RunAction logged = action(RunAction::LogReceived);
    logged.text = line.text;
    out(logged);
    status(lastAnswerStatus(line.text));
    if (wait_ == Wait::Answer && line.final())
        answered(line.kind);
}

void RunCore::answered(AnswerKind kind) {
    if (setup_.answerTimeLimitSeconds > 0)
        out(action(RunAction::StopTimer));
    wait_ = Wait::None;
    const bool failed = kind != AnswerKind::Ok;
    trace(QStringLiteral("ErrOccured"), failed ? QStringLiteral("Wahr") : QStringLiteral("Falsch"));
    if (kind == AnswerKind::Error) {
        // Which command, and which line of the script, the technician has to look at.
        end({RunOutcome::ModemError, texts::ModemErrorStatus,
             texts::ModemErrorMessage + u'\r' +
                 texts::RefusedCommandLine.arg(awaitedCommand_, awaitedFrom_)});
        return;
    }
    if (failed) {
        end({RunOutcome::DialFailed, texts::ModemErrorStatus,
             texts::ModemErrorMessage + u'\r' + failureAnswerLine(kind)});
        return;
    }
    if (stage_ == Stage::ClosingReset) {
        end({RunOutcome::Success, texts::SuccessStatus,
             setup_.autoMode ? QString() : texts::SuccessMessage});
        return;
    }
    // Reset, initialisation and the script's dials, flashes and hang-ups leave the exchange a
    // second; a MODEM line's own command goes straight on to the next line.
    if (stage_ == Stage::Lines && lastKeyword_ == Keyword::Modem) {
        out(action(RunAction::Continue));
        wait_ = Wait::Continue;
        return;
    }
    pause(OneSecond);
}

void RunCore::timeOut() {
    if (wait_ == Wait::Pause) {
        wait_ = Wait::None;
        afterPause();
        return;
    }
    if (wait_ != Wait::Answer)
        return;
    // The modem let the answer time limit pass: like a modem that does not react.
    const int limit = setup_.answerTimeLimitSeconds;
    wait_ = Wait::None;
    logNote(answerTimeOverText(limit));
    trace(QStringLiteral("AntwortZeit"), answerTimeOverText(limit));
    trace(QStringLiteral("ErrOccured"), QStringLiteral("Wahr"));
    end({RunOutcome::NoAnswer, texts::PortErrorStatus,
         limit == 1 ? texts::NoAnswerOneSecondMessage : texts::NoAnswerMessage.arg(limit)});
}

void RunCore::boxClosed(const std::optional<QString> &answer) {
    if (wait_ == Wait::EndBox) {
        wait_ = Wait::None;
        closeRun();
        return;
    }
    if (wait_ != Wait::Box)
        return;
    wait_ = Wait::None;
    if (boxKeyword_ != Keyword::Eingabe) {
        logNote(QStringLiteral("%1: %2 \u2013 best\u00e4tigt")
                    .arg(boxKeyword_ == Keyword::Hinweis ? QStringLiteral("HINWEIS")
                                                         : QStringLiteral("DIALOG"),
                         quoted(boxText_)));
    } else if (!answer) {
        // A cancelled box is an abort: the lines after it would program without the input.
        logNote(QStringLiteral("EINGABE: %1 \u2013 abgebrochen").arg(quoted(boxText_)));
        logNote(QStringLiteral("Abbruch durch Anwender angefordert"));
        end({RunOutcome::UserAbort, texts::UserAbortStatus, texts::UserAbortMessage});
        return;
    } else {
        eingabeText_ = eingabeAnswer(*answer);
        logNote(QStringLiteral("EINGABE: %1 \u2013 Antwort: %2")
                    .arg(quoted(boxText_), quoted(eingabeText_)));
    }
    nextLine();
}

void RunCore::afterPause() {
    switch (stage_) {
    case Stage::Reset:
        stage_ = Stage::Init;
        status(texts::ModemInitStatus);
        send(atCommand(setup_.modemInit), texts::ModemInitStatus);
        break;
    case Stage::Init:
        stage_ = Stage::Lines;
        status(texts::RunningStatus);
        nextLine();
        break;
    case Stage::Lines:
        nextLine();
        break;
    default:
        break;
    }
}

// Highlights the next line and carries it out. A line that neither sends nor waits hands the
// window a turn (Continue) before the next one, as the lines go by.
void RunCore::nextLine() {
    if (nextLine_ >= lines_.size()) {
        stage_ = Stage::ClosingReset;
        status(texts::ModemResetStatus);
        send(atCommand(setup_.modemReset), texts::ModemResetStatus);
        return;
    }
    const ScriptLineRange line = lines_.at(nextLine_++);
    RunAction select = action(RunAction::SelectLine);
    select.number = line.start;
    select.length = line.length;
    out(select);
    if (line.length != 0)
        carryOutLine(int(nextLine_), setup_.scriptText.mid(line.start, line.length));
    if (wait_ == Wait::None) {
        out(action(RunAction::Continue));
        wait_ = Wait::Continue;
    }
}

void RunCore::carryOutLine(int number, const QString &lineText) {
    const ScriptInstruction instruction = readScriptLine(lineText, eingabeText_);
    lastKeyword_ = instruction.keyword;
    const QString &argument = instruction.argument;
    switch (instruction.keyword) {
    case Keyword::None:
        break;
    case Keyword::Pause:
        pause(pauseSeconds(argument) * OneSecond);
        break;
    case Keyword::Tonwahl:
        setup_.pulseDialing = false;
        break;
    case Keyword::Impulswahl:
        setup_.pulseDialing = true;
        break;
    case Keyword::Hinweis:
    case Keyword::Dialog: {
        RunAction box = action(RunAction::ShowMessage);
        box.icon = MessageIcon::Information;
        box.title = setup_.boxTitle;
        box.message = argument;
        out(box);
        boxKeyword_ = instruction.keyword;
        boxText_ = argument;
        wait_ = Wait::Box;
        break;
    }
    case Keyword::Eingabe: {
        RunAction box = action(RunAction::AskInput);
        box.title = setup_.boxTitle;
        box.message = argument;
        out(box);
        boxKeyword_ = Keyword::Eingabe;
        boxText_ = argument;
        wait_ = Wait::Box;
        break;
    }
    case Keyword::Modem:
    case Keyword::Waehle:
    case Keyword::Auflegen:
    case Keyword::Flash:
    case Keyword::Erdtaste: {
        const QString command = *sentCommand(instruction, setup_.pulseDialing);
        // Sent all the same: some modems take more. The log says which line it was, should
        // the modem refuse it.
        if (const int length = modemCommandLength(command); length > LongestModemCommand)
            logNote(lineNote(number, lineText, texts::LongCommandReason.arg(length)));
        send(command, texts::MarkedLineEntry.arg(number).arg(lineText));
        break;
    }
    }
}

void RunCore::logSkippedLines() {
    if (!skipCheck_)
        return;
    int number = 0;
    for (const ScriptLineRange &line : lines_) {
        ++number;
        const QString lineText = setup_.scriptText.mid(line.start, line.length);
        if (const QString reason = skipCheck_(lineText); !reason.isEmpty())
            logNote(lineNote(number, lineText, reason));
    }
}

// Whatever the run waits for is of no interest any more.
void RunCore::awaitNothingMore() {
    switch (wait_) {
    case Wait::Answer:
        if (setup_.answerTimeLimitSeconds > 0)
            out(action(RunAction::StopTimer));
        trace(QStringLiteral("ErrOccured"), QStringLiteral("Wahr"));
        break;
    case Wait::Pause:
        out(action(RunAction::StopTimer));
        break;
    case Wait::Box:
        out(action(RunAction::CloseBox));
        break;
    default:
        break;
    }
    wait_ = Wait::None;
}

void RunCore::end(const Ending &ending) {
    awaitNothingMore();
    stage_ = Stage::Ending;
    outcome_ = ending.outcome;
    // The exchange is never left off the hook: whatever was dialled, the line is hung up. Its
    // answer is not awaited; it reaches the trace while the box is open.
    if (ending.hangUp && portOpen_)
        write(hangUpCommand());
    if (ending.outcome == RunOutcome::UserAbort)
        out(action(RunAction::Beep));
    // A success shows its status once its box is closed.
    if (ending.outcome != RunOutcome::Success)
        status(ending.status);
    RunAction logged = action(RunAction::LogEnd);
    logged.text = ending.status;
    logged.message = ending.message;
    out(logged);
    if (ending.showBox && !ending.message.isEmpty()) {
        RunAction box = action(RunAction::ShowMessage);
        box.icon = ending.outcome == RunOutcome::Success ? MessageIcon::Information
                                                         : MessageIcon::Critical;
        box.title = ending.outcome == RunOutcome::Success ? Title : setup_.failureTitle;
        box.message = ending.message;
        out(box);
        wait_ = Wait::EndBox;
        return;
    }
    closeRun();
}

void RunCore::closeRun() {
    if (outcome_ == RunOutcome::Success)
        status(texts::SuccessStatus);
    out(action(RunAction::ClosePort));
    portOpen_ = false;
    RunAction finish = action(RunAction::Finish);
    finish.outcome = outcome_;
    out(finish);
    stage_ = Stage::Idle;
}

} // namespace telmaris
