#pragma once
// The modem link of a run: opens the serial line, writes commands and waits for their final
// answer (TellModem), and collects the answer lines into the run's flags, the status line and
// the trace.

#include "ports/SerialLine.h"
#include "runner/AnswerCollector.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace telmaris {

struct RunFlags;
class RunLog;
class RunnerUi;
class TraceSink;

class ModemLink : public QObject {
    Q_OBJECT
public:
    // trace is null unless the program runs in trace mode; log is null where nothing is logged.
    ModemLink(RunFlags &flags, RunnerUi &ui, TraceSink *trace, RunLog *log = nullptr,
              QObject *parent = nullptr);

    // Opens the port for a run: 8N1 with RTS/CTS flow control.
    bool open(const QString &device, int baud, QString *error = nullptr);
    void close();

    // Writes skriptLine as it is (the caller supplies "AT" and the CR) and waits until the
    // modem gave a final answer, the port reported an error event, the user asked to abort or
    // the answer time limit passed. Returns ErrOccured: true when the run must stop.
    bool tellModem(const QString &skriptLine);

    // Seconds TellModem waits for an answer; 0 waits for ever (the window, where the user can
    // abort). A wait that runs out sets AnswerTimeOver.
    void setAnswerTimeLimit(int seconds) { answerTimeLimit_ = seconds; }
    int answerTimeLimit() const { return answerTimeLimit_; }

    SerialLine &line() { return line_; }

private:
    void handleReceived(const QByteArray &bytes);
    void handleErrorEvent();

    RunFlags &flags_;
    RunnerUi &ui_;
    TraceSink *trace_;
    RunLog *log_;
    SerialLine line_;
    AnswerCollector collector_;
    int answerTimeLimit_ = 0;
    QTimer answerTimer_;
};

} // namespace telmaris
