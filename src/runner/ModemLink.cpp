#include "runner/ModemLink.h"

#include "runner/RunFlags.h"
#include "runner/RunLog.h"
#include "runner/RunnerUi.h"
#include "runner/Trace.h"
#include "runner/TraceLines.h"
#include "runner/Waiting.h"

#include <QTime>

namespace telmaris {

ModemLink::ModemLink(RunFlags &flags, RunnerUi &ui, TraceSink *trace, RunLog *log, QObject *parent)
    : QObject(parent), flags_(flags), ui_(ui), trace_(trace), log_(log) {
    connect(&line_, &SerialLine::received, this, &ModemLink::handleReceived);
    connect(&line_, &SerialLine::errorEvent, this, &ModemLink::handleErrorEvent);
    // The limit wakes the wait like any other event; "n seconds" must not come early.
    answerTimer_.setSingleShot(true);
    answerTimer_.setTimerType(Qt::PreciseTimer);
    connect(&answerTimer_, &QTimer::timeout, this, [this] { flags_.answerTimeOver = true; });
}

bool ModemLink::open(const QString &device, int baud, QString *error) {
    return line_.open(device, baud, true, error);
}

void ModemLink::close() {
    line_.close();
}

bool ModemLink::tellModem(const QString &skriptLine) {
    flags_.answerReceived = false;
    // One character per byte: what the user typed beyond ASCII goes out as Latin-1, a
    // character Latin-1 lacks as "?". The trace and the log show these bytes, not the text.
    const QByteArray bytes = skriptLine.toLatin1();
    if (trace_)
        trace_->addTrace(skriptLineTrace(QTime::currentTime(), QString::fromLatin1(bytes)));
    if (log_)
        log_->sent(bytes);
    line_.write(bytes);
    flags_.answerTimeOver = false;
    if (answerTimeLimit_ > 0)
        answerTimer_.start(answerTimeLimit_ * 1000);
    waitUntil([this] {
        return flags_.answerReceived || flags_.commEventError || flags_.userAbort ||
               flags_.modemErrorReported || flags_.answerTimeOver;
    });
    answerTimer_.stop();
    const bool errOccured = flags_.modemErrorReported || flags_.userAbort ||
                            flags_.commEventError || flags_.answerTimeOver;
    if (log_ && flags_.answerTimeOver)
        log_->note(answerTimeOverText(answerTimeLimit_));
    if (trace_) {
        if (flags_.answerTimeOver)
            trace_->addTrace(answerTimeOverTrace(QTime::currentTime(), answerTimeLimit_));
        trace_->addTrace(errOccuredTrace(QTime::currentTime(), errOccured));
    }
    return errOccured;
}

void ModemLink::handleReceived(const QByteArray &bytes) {
    for (const AnswerLine &line : collector_.feed(bytes)) {
        flags_.answerReceived = line.final;
        if (line.error)
            flags_.modemErrorReported = true;
        if (trace_)
            trace_->addTrace(rcvStringTrace(QTime::currentTime(), line.text));
        // Once the run's outcome is decided an answer only reaches the trace: the status line
        // keeps the run's final status, and the log ends with the run's end.
        if (flags_.runOver)
            continue;
        if (log_)
            log_->received(line.text);
        ui_.status(lastAnswerStatus(line.text));
    }
}

void ModemLink::handleErrorEvent() {
    flags_.commEventError = true;
}

} // namespace telmaris
