#pragma once
// What a run sees of the main window: the status line, the run's boxes, the visible editor box,
// the buttons and the slot choice it locks, and the trace window in trace mode. The window
// builds the controls; this part only drives them. During a run the editor and the status line
// take each line and answer at once but paint at most once per frame; a box shows them as
// they are now.

#include "runner/RunnerUi.h"
#include "runner/Trace.h"

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QSlider;
class QTabBar;

namespace telmaris {

class FramePacer;
class ScriptEdit;
class TraceWindow;
struct StartData;

// The controls a run uses, filled in as the window is built.
struct RunControls {
    QLabel *statusLine = nullptr;
    std::array<ScriptEdit *, 2> editors{}; // without and with line wrap
    QPushButton *programButton = nullptr;
    QPushButton *endButton = nullptr;
    QPushButton *optionsButton = nullptr;
    QTabBar *scriptTabs = nullptr;
    QSlider *scriptSlider = nullptr;
    FramePacer *pacer = nullptr;
};

class WindowRunSide : public RunnerUi, public TraceSink {
public:
    // data: its wrap mode says which editor box is visible. runStateChanged is called when a
    // run starts or ends, after the controls are set.
    WindowRunSide(Dialogs &dialogs, const StartData &data, const RunControls &controls,
                  std::function<void()> runStateChanged);

    bool running() const { return running_; }
    // Where trace lines go; none outside trace mode.
    void setTraceWindow(TraceWindow *trace) { trace_ = trace; }

    void status(const QString &text) override;
    void showMessage(MessageIcon icon, const QString &title, const QString &text) override;
    void openMessage(MessageIcon icon, const QString &title, const QString &text,
                     std::function<void()> closed) override;
    void openInput(const QString &title, const QString &prompt,
                   std::function<void(const std::optional<QString> &)> answered) override;
    void closeBox() override;
    void beep() override;
    QString editorText() const override;
    void setEditorLocked(bool locked) override;
    void selectEditorRange(int start, int length) override;
    int editorCaret() const override;
    void setEditorCaret(int position) override;
    void focusEditor() override;
    void setRunState(bool running) override;

    void addTrace(const QString &line) override;

private:
    ScriptEdit *editor() const;

    Dialogs &dialogs_;
    const StartData &data_;
    const RunControls &controls_;
    std::function<void()> runStateChanged_;
    TraceWindow *trace_ = nullptr;
    bool running_ = false;
};

} // namespace telmaris
