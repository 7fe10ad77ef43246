#pragma once
// The session of one program start: the start-up (the settings file read, the ports probed off
// the window thread, the command line carried out), the runs started from the window or in
// AutoMode and their ends, the exit statuses, a stop asked for by a signal, and what the close
// stores. The window builds the controls and hands its parts in.

#include "runner/RunLog.h"
#include "runner/ScriptRunner.h"
#include "store/IniFile.h"

#include <QObject>
#include <memory>
#include <optional>

class QMainWindow;
class QTabBar;

namespace telmaris {

class Dialogs;
class OptionsPage;
class PortHandling;
class SettingsStore;
class SlotNavigation;
class TraceWindow;
class WindowRunSide;
struct StartData;

// The window's parts a session works with.
struct SessionParts {
    QMainWindow &window;
    QTabBar &tabs;
    OptionsPage &optionsPage;
    Dialogs &dialogs;
    SettingsStore &store;
    StartData &data;
    WindowRunSide &runSide;
    PortHandling &ports;
    SlotNavigation &navigation;
};

class Session : public QObject {
    Q_OBJECT
public:
    Session(QString programDir, const SessionParts &parts, QObject *parent = nullptr);
    ~Session() override;

    // See MainWindow::init.
    std::optional<int> init(const QString &argument, bool display);
    // See MainWindow::stopForSignal.
    void stopForSignal(const QString &signalName);

    // See MainWindow::unattended.
    bool unattended() const { return unattended_; }
    // The start-up waits for its probe.
    bool starting() const { return pendingStart_.has_value(); }
    bool running() const { return runner_ && runner_->running(); }
    const QString &runLogPath() const { return runLog_.path(); }
    // See MainWindow::setErrorCountReader.
    void setErrorCountReader(ErrorCountReader reader);

    // "&Programmieren", or "&Abbrechen" during a run.
    void programClicked();
    // "&Ende": the main window, and the trace window with it.
    void closeAsEnd();
    // The close request's file side: the script and the settings in one write. False when the
    // script could not be stored and the user keeps the window open for it.
    bool storeForClose();
    // The desktop session ends: everything stored as at the close, without a question; a
    // script that cannot be stored goes into a rescue file. The window stays until it is closed.
    void storeForSessionEnd();

Q_SIGNALS:
    void startedUp();
    void exitRequested(int exitStatus);
    void runEnded(telmaris::RunOutcome outcome);

private:
    // Tab n's caption: the script's name, or its number where it has none.
    void showTabCaption(int n, const QString &name);
    void portsProbed();
    void finishStartUp();
    std::optional<int> evaluateCommandLine(const QString &argument);
    // Stores the text and starts the current script; false when it did not start.
    bool startRun();
    void finishRun(RunOutcome outcome);
    bool acceptMarkedLines(); // false: the user chose not to run the script
    void reportRunLogFailure();
    bool letGoOfUnsavedScript(const QString &text, const QString &reason);

    QString programDir_;
    SessionParts parts_;
    RunLog runLog_;
    std::unique_ptr<ScriptRunner> runner_;
    ErrorCountReader countReader_; // none: the serial line's own
    // A window of its own, not a child: the main window's close box leaves it open, and the
    // program ends when the last of the two is closed.
    std::unique_ptr<TraceWindow> traceWindow_;
    // A start-up waiting for its probe: the argument and the file as read.
    struct PendingStart {
        QString argument;
        IniSnapshot snapshot;
    };
    std::optional<PendingStart> pendingStart_;
    bool display_ = true;
    int answerTimeLimit_ = 0; // seconds, of AutoMode runs only
    bool autoMode_ = false;
    bool unattended_ = false; // no window is wanted: AutoMode, or a parameter it cannot take
    bool traceMode_ = false;
    bool stopRequested_ = false; // a signal came: the window closes once the run is over
    bool sessionEnding_ = false; // the desktop session ends: nobody answers a question
    QString stopSignal_;
};

} // namespace telmaris
