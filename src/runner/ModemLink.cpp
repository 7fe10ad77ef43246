#include "runner/ModemLink.h"

#include "runner/RunFlags.h"
#include "runner/RunnerUi.h"
#include "runner/Trace.h"
#include "runner/TraceLines.h"
#include "runner/Waiting.h"

#include <QTime>

namespace telmaris {

ModemLink::ModemLink(RunFlags &flags, RunnerUi &ui, TraceSink *trace, QObject *parent)
    : QObject(parent), flags_(flags), ui_(ui), trace_(trace) {
    connect(&line_, &SerialLine::received, this, &ModemLink::HandleReceived);
    connect(&line_, &SerialLine::errorEvent, this, &ModemLink::HandleErrorEvent);
    // The limit wakes the wait like any other event; "n seconds" must not come early.
    answerTimer_.setSingleShot(true);
    answerTimer_.setTimerType(Qt::PreciseTimer);
    connect(&answerTimer_, &QTimer::timeout, this, [this] { flags_.AnswerTimeOver = true; });
}

bool ModemLink::Open(const QString &device, int baud, QString *error) {
    return line_.open(device, baud, true, error);
}

void ModemLink::Close() {
    line_.close();
}

bool ModemLink::TellModem(const QString &skriptLine) {
    flags_.AnswerReceived = false;
    if (trace_)
        trace_->AddTrace(SkriptLineTrace(QTime::currentTime(), skriptLine));
    // One character per byte: what the user typed beyond ASCII goes out as Latin-1.
    line_.write(skriptLine.toLatin1());
    flags_.AnswerTimeOver = false;
    if (answerTimeLimit_ > 0)
        answerTimer_.start(answerTimeLimit_ * 1000);
    WaitUntil([this] {
        return flags_.AnswerReceived || flags_.CommEventError || flags_.UserAbort ||
               flags_.ModemErrorReported || flags_.AnswerTimeOver;
    });
    answerTimer_.stop();
    const bool errOccured = flags_.ModemErrorReported || flags_.UserAbort ||
                            flags_.CommEventError || flags_.AnswerTimeOver;
    if (trace_) {
        if (flags_.AnswerTimeOver)
            trace_->AddTrace(AnswerTimeOverTrace(QTime::currentTime(), answerTimeLimit_));
        trace_->AddTrace(ErrOccuredTrace(QTime::currentTime(), errOccured));
    }
    return errOccured;
}

void ModemLink::HandleReceived(const QByteArray &bytes) {
    for (const AnswerLine &line : collector_.Feed(bytes)) {
        flags_.AnswerReceived = line.final;
        if (line.error)
            flags_.ModemErrorReported = true;
        if (trace_)
            trace_->AddTrace(RcvStringTrace(QTime::currentTime(), line.text));
        ui_.Status(LastAnswerStatus(line.text));
    }
}

void ModemLink::HandleErrorEvent() {
    flags_.CommEventError = true;
}

} // namespace telmaris
