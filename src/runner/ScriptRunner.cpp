#include "runner/ScriptRunner.h"

#include "common/UserTexts.h"
#include "runner/ModemLink.h"
#include "runner/RunFlags.h"
#include "runner/RunLog.h"
#include "runner/RunnerUi.h"
#include "runner/ScriptLanguage.h"
#include "runner/Waiting.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <optional>

namespace telmaris {

namespace {

const QString Title = QStringLiteral("Telmaris");
constexpr int OneSecond = 1000;

int baudOfSetting(int modemSpeed) {
    const bool valid = modemSpeed >= 1 && modemSpeed <= static_cast<int>(ModemSpeeds.size());
    return baudOfSpeedPosition(valid ? modemSpeed : ProbeSpeedPosition);
}

} // namespace

struct ScriptRunner::Private {
    Private(RunnerUi &ui, TraceSink *trace, RunLog *log)
        : ui(ui), log(log), link(flags, ui, trace, log) {
        timer1.setSingleShot(true);
        // A coarse timer may fire a few milliseconds early; a pause must not be shorter.
        timer1.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer1, &QTimer::timeout, [this] { flags.pauseOver = true; });
    }

    // Waits; false when the run cannot go on: the line failed or the user asked to abort
    // meanwhile. Either ends the wait at once, as nothing is sent after it anyway.
    bool pause(int milliseconds) {
        flags.pauseOver = false;
        timer1.start(milliseconds);
        waitUntil([this] { return flags.pauseOver || flags.commEventError || flags.userAbort; });
        timer1.stop();
        return !flags.commEventError && !flags.userAbort;
    }

    // Sends a command; false when the run must go to the error exit. Once the user asked to
    // abort, nothing but the closing hang-up reaches the line: not a half-dialled code.
    bool send(const QString &command) { return !flags.userAbort && !link.tellModem(command); }

    void logNote(const QString &text) {
        if (log)
            log->note(text);
    }
    // The end as the user sees it: the status line, the log's last line, then the box.
    void finish(const QString &status, const QString &message) {
        ui.status(status);
        if (log)
            log->end(status, message);
        if (!message.isEmpty())
            ui.showMessage(MessageIcon::Critical, Title, message);
    }
    void logSkippedLines(const QString &text);
    // The user asked to abort: from now on nothing is sent but the closing hang-up.
    void abort() {
        if (!flags.userAbort)
            logNote(QStringLiteral("Abbruch durch Anwender angefordert"));
        flags.userAbort = true;
    }

    bool carryOutLine(const QString &lineText);
    bool runToClosingReset(const StartData &settings, const QString &text);
    RunOutcome errorExit();

    RunnerUi &ui;
    RunLog *log;
    SkipCheck skipCheck;
    RunFlags flags;
    ModemLink link;
    QTimer timer1;
    QString eingabeText;
    // Of the current run:
    bool pulseDialing = false;
    QString boxTitle;
};

bool ScriptRunner::Private::carryOutLine(const QString &lineText) {
    const ScriptInstruction instruction = readScriptLine(lineText, eingabeText);
    const QString &argument = instruction.argument;
    switch (instruction.keyword) {
    case Keyword::None:
        return true;
    case Keyword::Pause:
        return pause(pauseSeconds(argument) * OneSecond);
    case Keyword::Tonwahl:
        pulseDialing = false;
        return true;
    case Keyword::Impulswahl:
        pulseDialing = true;
        return true;
    case Keyword::Modem:
        return send(modemCommand(argument));
    case Keyword::Hinweis:
    case Keyword::Dialog:
        ui.showMessage(MessageIcon::Information, boxTitle, argument);
        logNote(QStringLiteral("%1: \u00bb%2\u00ab \u2013 best\u00e4tigt")
                    .arg(instruction.keyword == Keyword::Hinweis ? QStringLiteral("HINWEIS")
                                                                 : QStringLiteral("DIALOG"),
                         argument));
        return true;
    case Keyword::Eingabe: {
        // A cancelled box is an abort: the lines after it would program without the input.
        const std::optional<QString> answer = ui.inputBox(boxTitle, argument);
        if (!answer) {
            logNote(QStringLiteral("EINGABE: \u00bb%1\u00ab \u2013 abgebrochen").arg(argument));
            abort();
            return false;
        }
        eingabeText = eingabeAnswer(*answer);
        logNote(QStringLiteral("EINGABE: \u00bb%1\u00ab \u2013 Antwort: \u00bb%2\u00ab")
                    .arg(argument, eingabeText));
        return true;
    }
    case Keyword::Waehle:
        if (!send(dialCommand(argument, pulseDialing)))
            return false;
        break;
    case Keyword::Auflegen:
        if (!send(hangUpCommand()))
            return false;
        break;
    case Keyword::Flash:
    case Keyword::Erdtaste:
        if (!send(flashCommand()))
            return false;
        break;
    }
    return pause(OneSecond);
}

void ScriptRunner::Private::logSkippedLines(const QString &text) {
    if (!log || !skipCheck)
        return;
    int number = 0;
    for (const ScriptLineRange &line : splitScriptLines(text)) {
        ++number;
        const QString lineText = text.mid(line.start, line.length);
        if (const QString reason = skipCheck(lineText); !reason.isEmpty())
            log->note(QStringLiteral("Zeile %1: \u00bb%2\u00ab \u2013 %3")
                          .arg(number)
                          .arg(lineText, reason));
    }
}

bool ScriptRunner::Private::runToClosingReset(const StartData &settings, const QString &text) {
    ui.status(texts::ModemResetStatus);
    if (!send(atCommand(settings.modemReset)) || !pause(OneSecond))
        return false;
    ui.status(texts::ModemInitStatus);
    if (!send(atCommand(settings.modemInit)) || !pause(OneSecond))
        return false;
    ui.status(texts::RunningStatus);

    for (const ScriptLineRange &line : splitScriptLines(text)) {
        // After an abort not even a notice or an input box follows; the line that was running
        // when it came stays highlighted.
        QCoreApplication::processEvents();
        if (flags.userAbort)
            return false;
        ui.selectEditorRange(line.start, line.length);
        if (flags.userAbort ||
            (line.length != 0 && !carryOutLine(text.mid(line.start, line.length))))
            return false;
    }

    ui.status(texts::ModemResetStatus);
    return send(atCommand(settings.modemReset));
}

RunOutcome ScriptRunner::Private::errorExit() {
    flags.runOver = true; // an answer arriving from now on leaves the run's final status alone
    if (flags.modemErrorReported) {
        finish(texts::ModemErrorStatus, texts::ModemErrorMessage);
        return RunOutcome::ModemError;
    }
    if (flags.commEventError) {
        finish(texts::PortErrorStatus, texts::PortErrorMessage);
        return RunOutcome::PortError;
    }
    if (flags.answerTimeOver) {
        // Like a modem that does not react: no hang-up, nothing more is sent.
        const int limit = link.answerTimeLimit();
        finish(texts::PortErrorStatus,
               limit == 1 ? texts::NoAnswerOneSecondMessage : texts::NoAnswerMessage.arg(limit));
        return RunOutcome::NoAnswer;
    }
    // With UserAbort still set the hang-up is written and its answer not awaited. It is the
    // only command written after an abort.
    link.tellModem(hangUpCommand());
    ui.beep();
    finish(texts::UserAbortStatus, texts::UserAbortMessage);
    return RunOutcome::UserAbort;
}

ScriptRunner::ScriptRunner(RunnerUi &ui, TraceSink *trace, RunLog *log, QObject *parent)
    : QObject(parent), d_(new Private(ui, trace, log)) {}

ScriptRunner::~ScriptRunner() {
    delete d_;
}

RunOutcome ScriptRunner::sendSkript(const StartData &settings, const PortMap &ports,
                                    const QString &scriptName, bool autoMode) {
    Q_ASSERT(!d_->flags.running);
    RunnerUi &ui = d_->ui;
    RunFlags &flags = d_->flags;

    flags.running = true;
    flags.userAbort = false;
    flags.modemErrorReported = false;
    flags.commEventError = false;
    flags.runOver = false;
    d_->pulseDialing = settings.dialPuls != 0;
    d_->boxTitle = Title + QStringLiteral(" - ") + scriptName;
    ui.setEditorLocked(true);
    ui.setRunState(true);
    const int caret = ui.editorCaret();

    RunOutcome outcome = RunOutcome::Success;
    QString reason;
    const QString device = ports.device(settings.comPort);
    const int baud = baudOfSetting(settings.modemSpeed);
    // The editor is locked for the whole run, so its text is read once and the lines are
    // taken from that reading: a line then costs the same in a long script as in a short one.
    const QString text = ui.editorText();
    if (d_->log)
        d_->log->begin(settings.currSkript, scriptName, settings.comPort, device, baud);
    d_->logSkippedLines(text);
    if (!d_->link.open(device, baud, &reason)) {
        d_->logNote(QStringLiteral("COM%1 (%2): %3").arg(settings.comPort).arg(device, reason));
        // The fixed text, and below it why and what the user can do about it.
        d_->finish(texts::PortFailureStatus,
                   texts::PortUnavailableMessage.arg(settings.comPort) + u'\r' + reason);
        outcome = RunOutcome::PortFailure;
    } else if (d_->runToClosingReset(settings, text)) {
        flags.runOver = true;
        if (d_->log)
            d_->log->end(texts::SuccessStatus, autoMode ? QString() : texts::SuccessMessage);
        if (!autoMode)
            ui.showMessage(MessageIcon::Information, Title, texts::SuccessMessage);
        ui.status(texts::SuccessStatus);
    } else {
        outcome = d_->errorExit();
    }

    d_->link.close();
    ui.setEditorLocked(false);
    ui.setEditorCaret(caret);
    ui.focusEditor();
    ui.setRunState(false);
    flags.running = false;
    return outcome;
}

void ScriptRunner::setSkipCheck(SkipCheck check) {
    d_->skipCheck = std::move(check);
}

void ScriptRunner::setAnswerTimeLimit(int seconds) {
    d_->link.setAnswerTimeLimit(seconds);
}

bool ScriptRunner::running() const {
    return d_->flags.running;
}

void ScriptRunner::requestAbort() {
    if (!d_->flags.running)
        return;
    d_->abort();
    // Called from an event handler the wait notices it anyway; from anywhere else this makes
    // sure a sleeping wait looks at its flags again.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

const QString &ScriptRunner::eingabeText() const {
    return d_->eingabeText;
}

SerialLine &ScriptRunner::line() {
    return d_->link.line();
}

} // namespace telmaris
