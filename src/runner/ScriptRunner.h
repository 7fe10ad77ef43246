#pragma once
// SendSkript: carries the script in the editor out through the modem. The run itself is the
// state machine RunCore; this driver hands it the events of the serial line, its one timer and
// the window's boxes, and carries its actions out. start() returns at once, finished() tells
// how the run ended: nothing waits in a loop of its own, so a box opened meanwhile, a tab click
// or a signal cannot stall or re-enter the run.

#include "ports/PortMap.h"
#include "ports/SerialLine.h"
#include "runner/RunCore.h"
#include "store/StartData.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace telmaris {

class RunLog;
class RunnerUi;
class TraceSink;

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    // trace is null unless the program runs in trace mode; log is null where runs are not
    // logged.
    ScriptRunner(RunnerUi &ui, TraceSink *trace, RunLog *log = nullptr, QObject *parent = nullptr);
    ~ScriptRunner() override;

    // Starts the editor's script with the given settings; scriptName is the current slot's
    // name for the titles of EINGABE and HINWEIS boxes. In AutoMode the success message is
    // left out. Precondition: !running().
    void start(const StartData &settings, const PortMap &ports, const QString &scriptName,
               bool autoMode);

    // Seconds to wait for each modem answer before the run ends as a modem that does not
    // respond; 0 waits until the user aborts.
    void setAnswerTimeLimit(int seconds) { answerTimeLimit_ = seconds; }
    void setSkipCheck(RunCore::SkipCheck check) { core_.setSkipCheck(std::move(check)); }
    // Whether the box of a failed run is titled with the run (runTitle) instead of "Telmaris":
    // where boxes become lines on standard error.
    void setFailuresNameTheRun(bool name) { failuresNameTheRun_ = name; }
    // The last run started, as "Skript 3 »Nacht«, COM 1 (/dev/ttyS0)".
    const QString &runTitle() const { return runTitle_; }

    bool running() const { return core_.running(); }
    void requestAbort(); // a press of "&Abbrechen"
    // SIGTERM, SIGINT or SIGHUP (its name given): the run leaves at once, hung up, without a
    // box.
    void stopForSignal(const QString &signalName);
    // The line the runs go through (for its error-counter source).
    SerialLine &line() { return line_; }

Q_SIGNALS:
    // The run is over: the port is closed, the window idle again.
    void finished(telmaris::RunOutcome outcome);

private:
    void dispatch(const RunEvent &event);
    void carryOut(const QList<RunAction> &actions);
    void carryOut(const RunAction &action);
    void lineError(LineError error);

    RunnerUi &ui_;
    TraceSink *trace_;
    RunLog *log_;
    RunCore core_;
    SerialLine line_;
    QTimer timer_; // a pause, or the answer time limit
    int answerTimeLimit_ = 0;
    bool failuresNameTheRun_ = false;
    QString runTitle_;
    int baud_ = 0;
    int caret_ = 0;
    // Events that come while actions are carried out wait their turn, so that the run never
    // takes an event in the middle of a step.
    QList<RunEvent> queue_;
    bool dispatching_ = false;
    int box_ = 0; // counts the boxes opened, so that a closed box's late answer is ignored
};

} // namespace telmaris
