#include "runner/ScriptRunner.h"

#include "common/UserTexts.h"
#include "runner/ModemLink.h"
#include "runner/RunFlags.h"
#include "runner/RunnerUi.h"
#include "runner/ScriptLanguage.h"
#include "runner/Waiting.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace telmaris {

namespace {

const QString Title = QStringLiteral("Telmaris");
constexpr int OneSecond = 1000;

int BaudOfSetting(int modemSpeed) {
    const bool valid = modemSpeed >= 1 && modemSpeed <= static_cast<int>(ModemSpeeds.size());
    return BaudOfSpeedPosition(valid ? modemSpeed : ProbeSpeedPosition);
}

} // namespace

struct ScriptRunner::Private {
    Private(RunnerUi &ui, TraceSink *trace) : ui(ui), link(flags, ui, trace) {
        timer1.setSingleShot(true);
        // A coarse timer may fire a few milliseconds early; a pause must not be shorter.
        timer1.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer1, &QTimer::timeout, [this] { flags.PauseOver = true; });
    }

    void Pause(int milliseconds) {
        flags.PauseOver = false;
        timer1.start(milliseconds);
        WaitUntil([this] { return flags.PauseOver; });
    }

    // Sends a command; false when the run must go to the error exit.
    bool Send(const QString &command) { return !link.TellModem(command); }

    bool CarryOutLine(const QString &lineText);
    bool RunToClosingReset(const StartData &settings);
    RunOutcome ErrorExit();

    RunnerUi &ui;
    RunFlags flags;
    ModemLink link;
    QTimer timer1;
    QString eingabeText;
    // Of the current run:
    bool pulseDialing = false;
    QString boxTitle;
};

bool ScriptRunner::Private::CarryOutLine(const QString &lineText) {
    const ScriptInstruction instruction = ReadScriptLine(lineText, eingabeText);
    const QString &argument = instruction.argument;
    switch (instruction.keyword) {
    case Keyword::None:
        return true;
    case Keyword::Pause:
        Pause(PauseSeconds(argument) * OneSecond);
        return true;
    case Keyword::Tonwahl:
        pulseDialing = false;
        return true;
    case Keyword::Impulswahl:
        pulseDialing = true;
        return true;
    case Keyword::Modem:
        return Send(ModemCommand(argument));
    case Keyword::Hinweis:
    case Keyword::Dialog:
        ui.ShowMessage(MessageIcon::Information, boxTitle, argument);
        return true;
    case Keyword::Eingabe:
        eingabeText = ui.InputBox(boxTitle, argument);
        return true;
    case Keyword::Waehle:
        if (!Send(DialCommand(argument, pulseDialing)))
            return false;
        break;
    case Keyword::Auflegen:
        if (!Send(HangUpCommand()))
            return false;
        break;
    case Keyword::Flash:
    case Keyword::Erdtaste:
        if (!Send(FlashCommand()))
            return false;
        break;
    }
    Pause(OneSecond);
    return true;
}

bool ScriptRunner::Private::RunToClosingReset(const StartData &settings) {
    ui.Status(texts::ModemResetStatus);
    if (!Send(AtCommand(settings.ModemReset)))
        return false;
    Pause(OneSecond);
    ui.Status(texts::ModemInitStatus);
    if (!Send(AtCommand(settings.ModemInit)))
        return false;
    Pause(OneSecond);
    ui.Status(texts::RunningStatus);

    // The editor is locked for the whole run, so its text is read once and the lines are
    // taken from that reading: a line then costs the same in a long script as in a short one.
    const QString text = ui.EditorText();
    for (const ScriptLineRange &line : SplitScriptLines(text)) {
        QCoreApplication::processEvents();
        ui.SelectEditorRange(line.start, line.length);
        if (line.length != 0 && !CarryOutLine(text.mid(line.start, line.length)))
            return false;
    }

    ui.Status(texts::ModemResetStatus);
    return Send(AtCommand(settings.ModemReset));
}

RunOutcome ScriptRunner::Private::ErrorExit() {
    if (flags.ModemErrorReported) {
        ui.Status(texts::ModemErrorStatus);
        ui.ShowMessage(MessageIcon::Critical, Title, texts::ModemErrorMessage);
        return RunOutcome::ModemError;
    }
    if (flags.CommEventError) {
        ui.Status(texts::PortErrorStatus);
        ui.ShowMessage(MessageIcon::Critical, Title, texts::PortErrorMessage);
        return RunOutcome::PortError;
    }
    if (flags.AnswerTimeOver) {
        // Like a modem that does not react: no hang-up, nothing more is sent.
        ui.Status(texts::PortErrorStatus);
        ui.ShowMessage(MessageIcon::Critical, Title,
                       texts::NoAnswerMessage.arg(link.AnswerTimeLimit()));
        return RunOutcome::NoAnswer;
    }
    // With UserAbort still set the hang-up is written and its answer not awaited.
    link.TellModem(HangUpCommand());
    ui.Beep();
    ui.Status(texts::UserAbortStatus);
    ui.ShowMessage(MessageIcon::Critical, Title, texts::UserAbortMessage);
    return RunOutcome::UserAbort;
}

ScriptRunner::ScriptRunner(RunnerUi &ui, TraceSink *trace, QObject *parent)
    : QObject(parent), d(new Private(ui, trace)) {}

ScriptRunner::~ScriptRunner() {
    delete d;
}

RunOutcome ScriptRunner::SendSkript(const StartData &settings, const PortMap &ports,
                                    const QString &scriptName, bool autoMode) {
    Q_ASSERT(!d->flags.Running);
    RunnerUi &ui = d->ui;
    RunFlags &flags = d->flags;

    flags.Running = true;
    flags.UserAbort = false;
    flags.ModemErrorReported = false;
    flags.CommEventError = false;
    d->pulseDialing = settings.DialPuls != 0;
    d->boxTitle = Title + QStringLiteral(" - ") + scriptName;
    ui.SetEditorLocked(true);
    ui.SetRunState(true);
    const int caret = ui.EditorCaret();

    RunOutcome outcome = RunOutcome::Success;
    QString reason;
    const QString device = ports.device(settings.ComPort);
    if (!d->link.Open(device, BaudOfSetting(settings.ModemSpeed), &reason)) {
        QTextStream(stderr) << "COM" << settings.ComPort << " (" << device << "): " << reason
                            << Qt::endl;
        ui.Status(texts::PortFailureStatus);
        ui.ShowMessage(MessageIcon::Critical, Title,
                       texts::PortUnavailableMessage.arg(settings.ComPort));
        outcome = RunOutcome::PortFailure;
    } else if (d->RunToClosingReset(settings)) {
        if (!autoMode)
            ui.ShowMessage(MessageIcon::Information, Title, texts::SuccessMessage);
        ui.Status(texts::SuccessStatus);
    } else {
        outcome = d->ErrorExit();
    }

    d->link.Close();
    ui.SetEditorLocked(false);
    ui.SetEditorCaret(caret);
    ui.FocusEditor();
    ui.SetRunState(false);
    flags.Running = false;
    return outcome;
}

void ScriptRunner::SetAnswerTimeLimit(int seconds) {
    d->link.SetAnswerTimeLimit(seconds);
}

bool ScriptRunner::Running() const {
    return d->flags.Running;
}

void ScriptRunner::RequestAbort() {
    if (!d->flags.Running)
        return;
    d->flags.UserAbort = true;
    // Called from an event handler the wait notices it anyway; from anywhere else this makes
    // sure a sleeping wait looks at its flags again.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

const QString &ScriptRunner::EingabeText() const {
    return d->eingabeText;
}

} // namespace telmaris
