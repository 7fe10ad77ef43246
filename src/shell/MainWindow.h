#pragma once
// The main window: slider, the tab strip of 100 script tabs and the options tab, the options
// page and the script page with the two editor boxes, the five buttons, the status line and
// the hover hints. It builds and shows; its parts do the rest: the session (start-up, AutoMode,
// runs, exit statuses, the close's file side), the slot navigation, the ports, and what a run
// sees of the window (WindowRunSide). The file side of storing is SettingsStore's.

#include "ports/SerialDevices.h"
#include "runner/ScriptRunner.h"
#include "shell/SettingsStore.h"
#include "shell/WindowRunSide.h"
#include "store/StartData.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QSlider;
class QStackedLayout;
class QStackedWidget;
class QTabBar;

namespace telmaris {

class DocumentOpener;
class FramePacer;
class InfoDialogHolder;
class OptionsPage;
class PortHandling;
class Session;
class SlotNavigation;
class ScriptEdit;
class TraceWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programDir: the folder of the program, where Telmaris.Ini and the manual are looked for.
    // opener hands the manual and web addresses to the desktop; null means the desktop's own.
    MainWindow(QString programDir, Dialogs &dialogs, DocumentOpener *opener = nullptr,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up with the command-line argument text. Returns the exit status when the process
    // has to end at once (an AutoMode run refused on a settings file that cannot be read), and
    // nothing when the start-up goes on: the window shows, and the ports are probed off the
    // window thread. Once the probe is in, the start-up ends with startedUp() (in interactive
    // use, or with the AutoMode run started, whose end exitRequested() tells), or with
    // exitRequested() (no usable serial port, an unknown parameter, an AutoMode run refused
    // for an input nobody can give). Without a display nobody can answer an input box or
    // abort: an AutoMode run that asks for input is refused, and the modem's answers get a
    // time limit by default.
    std::optional<int> init(const QString &argument, bool display = true);

    // The process is asked to stop (SIGTERM, SIGINT, SIGHUP; its name given). A run leaves at
    // once, hung up; then an unattended start ends (exitRequested), and the window closes as
    // "&Ende" closes it, without a question.
    void stopForSignal(const QString &signalName);
    // Started for an AutoMode run (or with a parameter it cannot take), as told by the command
    // line: no window is wanted, and a stop by signal ends the process by that signal.
    bool unattended() const;

    // Where the serial devices come from (the system's list unless a test hands in its own);
    // set before init().
    void setDeviceDetector(DeviceDetector detector);

    // The text of the status line.
    void status(const QString &text);

    // Selects tab 1..101 as a click would; the tab switch runs also when it is selected already.
    void selectTab(int tab);

    // Where a run's line reads the driver's error counters (the kernel's unless a test hands
    // in its own).
    void setErrorCountReader(ErrorCountReader reader);

Q_SIGNALS:
    // The start-up is complete: the ports are probed, and an AutoMode run has started.
    void startedUp();
    // The process ends with this status without the close request: the AutoMode run is over,
    // or the start-up cannot go on.
    void exitRequested(int exitStatus);
    // A run started with button 0 or in AutoMode is over.
    void runEnded(telmaris::RunOutcome outcome);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    QWidget *buildButtonRow();
    void addHint(QWidget *widget, const QString &hint);

    // The buttons.
    void programClicked(); // "&Programmieren", or "&Abbrechen" during a run
    void helpClicked();
    void endClicked();
    void infoClicked();
    void optionsClicked();

    void openRunLog();
    // A run and the modem test open a port: neither starts while a probe holds the ports, nor
    // before the start-up's probe has told which ports can be used.
    void enableWhatOpensPorts();

    QString programDir_;
    Dialogs &dialogs_;
    std::unique_ptr<DocumentOpener> ownOpener_;
    DocumentOpener &opener_;
    std::unique_ptr<InfoDialogHolder> info_;
    StartData data_;
    RunControls runControls_; // filled as the window is built
    WindowRunSide runSide_;
    SettingsStore store_;
    PortHandling *ports_ = nullptr;
    SlotNavigation *navigation_ = nullptr;
    Session *session_ = nullptr;

    QSlider *scriptSlider_ = nullptr;
    QTabBar *scriptTabs_ = nullptr;
    QStackedWidget *pages_ = nullptr; // the options page and the script page
    OptionsPage *optionsPage_ = nullptr;
    QStackedLayout *editorStack_ = nullptr;
    std::array<ScriptEdit *, 2> editors_{}; // without and with line wrap
    QPushButton *programButton_ = nullptr;
    QPushButton *helpButton_ = nullptr;
    QPushButton *endButton_ = nullptr;
    QPushButton *infoButton_ = nullptr;
    QPushButton *optionsButton_ = nullptr;
    QLabel *logo_ = nullptr;
    QWidget *statusHolder_ = nullptr;
    QLabel *statusLabel_ = nullptr;
    FramePacer *pacer_ = nullptr;
    QHash<QObject *, QString> hints_;
};

} // namespace telmaris
