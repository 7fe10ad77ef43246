#pragma once
// SendSkript: carries the script in the editor out through the modem.

#include "ports/PortMap.h"
#include "store/StartData.h"

#include <QObject>
#include <QString>
#include <functional>

namespace telmaris {

class RunLog;
class RunnerUi;
class SerialLine;
class TraceSink;

enum class RunOutcome { Success, ModemError, PortError, NoAnswer, UserAbort, PortFailure };

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    // trace is null unless the program runs in trace mode; log is null where runs are not
    // logged.
    ScriptRunner(RunnerUi &ui, TraceSink *trace, RunLog *log = nullptr, QObject *parent = nullptr);
    ~ScriptRunner() override;

    // Runs the editor's script with the given settings; scriptName is the current slot's name
    // for the titles of EINGABE and HINWEIS boxes. In AutoMode the success message is left
    // out. Returns how the run ended. Precondition: !Running().
    RunOutcome sendSkript(const StartData &settings, const PortMap &ports,
                          const QString &scriptName, bool autoMode);

    // Seconds to wait for each modem answer before the run ends as a modem that does not
    // respond; 0 waits until the user aborts.
    void setAnswerTimeLimit(int seconds);

    // Why a script line will be skipped, or nothing when it runs; the log lists such lines
    // with the reason at the start of each run.
    using SkipCheck = std::function<QString(const QString &line)>;
    void setSkipCheck(SkipCheck check);

    bool running() const;
    void requestAbort(); // a press of "&Abbrechen": sets UserAbort
    const QString &eingabeText() const;
    // The line the runs go through (for its error-counter source).
    SerialLine &line();

private:
    struct Private;
    Private *d_;
};

} // namespace telmaris
