#pragma once
// The modem test's query: opens a port with the set speed, sends "AT", "ATI" and "ATI3" one at a
// time, each with CR, and collects each command's answer lines until its final answer or the
// time limit. Then it closes the port. It runs on the event loop: start() returns at once and
// the signals report the progress, so the window stays usable while the modem is asked.

#include "ports/SerialLine.h"
#include "runner/AnswerCollector.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace telmaris {

// How one command of the query ended.
enum class QueryOutcome {
    Ok,         // OK or BUSY
    Error,      // ERROR, or a dial's failure (NO CARRIER, ...)
    NoAnswer,   // not a single character within the limit
    Unfinished, // characters, but no final answer within the limit
    LineLost    // the port reported an error or vanished
};

struct QueryStep {
    QString command;    // as sent, without its CR
    QStringList answer; // the lines received, as received, empty lines left out
    QueryOutcome outcome = QueryOutcome::NoAnswer;
};

class ModemQuery : public QObject {
    Q_OBJECT
public:
    static constexpr int AnswerLimitMs = 3000;
    // "AT", "ATI", "ATI3": whether the modem answers at all, and what it says it is.
    static QStringList commands();

    explicit ModemQuery(QObject *parent = nullptr);

    // Opens device at baud (8N1, RTS/CTS, as a run does) and starts asking. When the port
    // cannot be opened, finished() comes at once and openError() tells why.
    void start(const QString &device, int baud);
    bool isRunning() const { return running_; }

    // The commands asked so far. A silent "AT" or a lost line ends the query early: the other
    // commands would only wait out their limits too.
    const QList<QueryStep> &steps() const { return steps_; }
    QString openError() const { return openError_; }

Q_SIGNALS:
    void stepStarted(int index);
    void stepFinished(int index);
    // The port is closed again.
    void finished();

private:
    void sendNext();
    void takeBytes(const QByteArray &bytes);
    void endStep(QueryOutcome outcome);
    void finish();

    SerialLine line_;
    QTimer limit_;
    QList<QueryStep> steps_;
    AnswerCollector answers_;
    bool received_ = false;
    bool running_ = false;
    bool stepOpen_ = false; // a command was sent and its answer is awaited
    QString openError_;
};

} // namespace telmaris
