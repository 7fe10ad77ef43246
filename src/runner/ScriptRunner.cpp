#include "runner/ScriptRunner.h"

#include "common/UserTexts.h"
#include "runner/RunLog.h"
#include "runner/RunnerUi.h"
#include "runner/Trace.h"
#include "runner/TraceLines.h"

#include <QPointer>
#include <QTime>

namespace telmaris {

namespace {

const QString Title = QStringLiteral("Telmaris");

int baudOfSetting(int modemSpeed) {
    const bool valid = modemSpeed >= 1 && modemSpeed <= static_cast<int>(ModemSpeeds.size());
    return baudOfSpeedPosition(valid ? modemSpeed : ProbeSpeedPosition);
}

// The script by number and name, the port by number and device.
QString runTitleOf(int skript, const QString &name, int comPort, const QString &device) {
    const QString script = QString::number(skript);
    const QString port = QString::number(comPort);
    return name.isEmpty() ? texts::RunFailureTitle.arg(script, port, device)
                          : texts::NamedRunFailureTitle.arg(script, name, port, device);
}

RunEvent runEvent(RunEvent::Kind kind) {
    RunEvent e;
    e.kind = kind;
    return e;
}

} // namespace

ScriptRunner::ScriptRunner(RunnerUi &ui, TraceSink *trace, RunLog *log, QObject *parent)
    : QObject(parent), ui_(ui), trace_(trace), log_(log) {
    timer_.setSingleShot(true);
    // A coarse timer may fire a few milliseconds early; a pause must not be shorter.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { dispatch(runEvent(RunEvent::TimeOut)); });
    connect(&line_, &SerialLine::received, this, [this](const QByteArray &bytes) {
        RunEvent received = runEvent(RunEvent::Received);
        received.bytes = bytes;
        dispatch(received);
    });
    connect(&line_, &SerialLine::errorEvent, this, &ScriptRunner::lineError);
}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::start(const StartData &settings, const PortMap &ports, const QString &scriptName,
                         bool autoMode) {
    Q_ASSERT(!running());
    RunSetup setup;
    setup.comPort = settings.comPort;
    setup.device = ports.device(settings.comPort);
    setup.modemReset = settings.modemReset;
    setup.modemInit = settings.modemInit;
    setup.pulseDialing = settings.dialPuls != 0;
    setup.boxTitle = scriptName.isEmpty() ? texts::UnnamedScriptBoxTitle.arg(settings.currSkript)
                                          : Title + QStringLiteral(" - ") + scriptName;
    // The editor is locked for the whole run, so its text is read once and the lines are
    // taken from that reading: a line then costs the same in a long script as in a short one.
    setup.scriptText = ui_.editorText();
    setup.autoMode = autoMode;
    setup.answerTimeLimitSeconds = answerTimeLimit_;
    runTitle_ = runTitleOf(settings.currSkript, scriptName, setup.comPort, setup.device);
    if (failuresNameTheRun_)
        setup.failureTitle = runTitle_;
    baud_ = baudOfSetting(settings.modemSpeed);

    ui_.setEditorLocked(true);
    ui_.setRunState(true);
    caret_ = ui_.editorCaret();
    if (log_)
        log_->begin(settings.currSkript, scriptName, setup.comPort, setup.device, baud_);
    queue_.clear();
    carryOut(core_.start(setup));
}

void ScriptRunner::requestAbort() {
    dispatch(runEvent(RunEvent::Abort));
}

void ScriptRunner::stopForSignal(const QString &signalName) {
    RunEvent signal = runEvent(RunEvent::Signal);
    signal.text = signalName;
    dispatch(signal);
}

void ScriptRunner::lineError(LineError error) {
    if (error == LineError::Gone) {
        dispatch(runEvent(RunEvent::LineLost));
        return;
    }
    RunEvent failed = runEvent(RunEvent::LineFailed);
    failed.number = error == LineError::OutputStuck ? 1 : 0; // its output does not drain
    dispatch(failed);
}

void ScriptRunner::dispatch(const RunEvent &e) {
    queue_.append(e);
    carryOut(QList<RunAction>());
}

void ScriptRunner::carryOut(const QList<RunAction> &actions) {
    // An event raised by an action itself (a write that finds the line gone) waits in the
    // queue until the step's actions are all carried out.
    const bool outermost = !dispatching_;
    dispatching_ = true;
    for (const RunAction &action : actions)
        carryOut(action);
    if (outermost) {
        while (!queue_.isEmpty())
            carryOut(core_.handle(queue_.takeFirst()));
        dispatching_ = false;
    }
}

void ScriptRunner::carryOut(const RunAction &action) {
    switch (action.kind) {
    case RunAction::OpenPort: {
        QString reason;
        RunEvent opened = runEvent(RunEvent::PortOpened);
        if (!line_.open(action.text, baud_, true, &reason))
            opened.text = reason.isEmpty() ? action.text : reason;
        queue_.append(opened);
        break;
    }
    case RunAction::Write:
        line_.write(action.bytes);
        break;
    case RunAction::StartTimer:
        timer_.start(action.number);
        break;
    case RunAction::StopTimer:
        timer_.stop();
        break;
    case RunAction::Status:
        ui_.status(action.text);
        break;
    case RunAction::SelectLine:
        ui_.selectEditorRange(action.number, action.length);
        break;
    case RunAction::Trace:
        if (trace_)
            trace_->addTrace(traceLine(QTime::currentTime(), action.label, action.text));
        break;
    case RunAction::LogSent:
        if (log_)
            log_->sent(action.bytes);
        break;
    case RunAction::LogReceived:
        if (log_)
            log_->received(action.text);
        break;
    case RunAction::LogNote:
        if (log_)
            log_->note(action.text);
        break;
    case RunAction::LogEnd:
        if (log_)
            log_->end(action.text, action.message);
        break;
    case RunAction::ShowMessage: {
        const int box = ++box_;
        QPointer<ScriptRunner> self(this);
        ui_.openMessage(action.icon, action.title, action.message, [self, box] {
            if (self && box == self->box_)
                self->dispatch(runEvent(RunEvent::BoxClosed));
        });
        break;
    }
    case RunAction::AskInput: {
        const int box = ++box_;
        QPointer<ScriptRunner> self(this);
        ui_.openInput(action.title, action.message,
                      [self, box](const std::optional<QString> &answer) {
                          if (!self || box != self->box_)
                              return;
                          RunEvent closed = runEvent(RunEvent::BoxClosed);
                          closed.answer = answer;
                          self->dispatch(closed);
                      });
        break;
    }
    case RunAction::CloseBox:
        ++box_;
        ui_.closeBox();
        break;
    case RunAction::Beep:
        ui_.beep();
        break;
    case RunAction::Continue:
        QMetaObject::invokeMethod(
            this, [this] { dispatch(runEvent(RunEvent::Proceed)); }, Qt::QueuedConnection);
        break;
    case RunAction::ClosePort:
        timer_.stop();
        line_.close();
        break;
    case RunAction::Finish:
        ui_.setEditorLocked(false);
        ui_.setEditorCaret(caret_);
        ui_.focusEditor();
        ui_.setRunState(false);
        Q_EMIT finished(action.outcome);
        break;
    }
}

} // namespace telmaris
