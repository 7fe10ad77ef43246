#include "shell/WindowRunSide.h"

#include "editor/ScriptEdit.h"
#include "shell/FramePacer.h"
#include "store/StartData.h"
#include "trace/TraceWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

namespace telmaris {

WindowRunSide::WindowRunSide(Dialogs &dialogs, const StartData &data, const RunControls &controls,
                             std::function<void()> runStateChanged)
    : dialogs_(dialogs), data_(data), controls_(controls),
      runStateChanged_(std::move(runStateChanged)) {}

ScriptEdit *WindowRunSide::editor() const {
    return controls_.editors[data_.umbruch];
}

void WindowRunSide::status(const QString &text) {
    controls_.statusLine->setText(u' ' + text);
    if (running_)
        controls_.pacer->changed();
}

void WindowRunSide::showMessage(MessageIcon icon, const QString &title, const QString &text) {
    controls_.pacer->flush();
    dialogs_.showMessage(icon, title, text);
}

void WindowRunSide::openMessage(MessageIcon icon, const QString &title, const QString &text,
                                std::function<void()> closed) {
    controls_.pacer->flush();
    dialogs_.openMessage(icon, title, text, std::move(closed));
}

void WindowRunSide::openInput(const QString &title, const QString &prompt,
                              std::function<void(const std::optional<QString> &)> answered) {
    controls_.pacer->flush();
    dialogs_.openInput(title, prompt, std::move(answered));
}

void WindowRunSide::closeBox() {
    dialogs_.closeOpenBox();
}

void WindowRunSide::beep() {
    QApplication::beep();
}

QString WindowRunSide::editorText() const {
    return editor()->crlfText();
}

void WindowRunSide::setEditorLocked(bool locked) {
    editor()->setLocked(locked);
}

void WindowRunSide::selectEditorRange(int start, int length) {
    editor()->select(start, length);
    if (running_)
        controls_.pacer->changed();
}

int WindowRunSide::editorCaret() const {
    return editor()->selStart();
}

void WindowRunSide::setEditorCaret(int position) {
    editor()->setCaret(position);
}

void WindowRunSide::focusEditor() {
    editor()->setFocus();
}

// A run keeps the slot it started with: the tab strip and the slider are locked with "&Ende"
// and "&Optionen", so the runner never reads another script's lines and "&Abbrechen" stays
// reachable.
void WindowRunSide::setRunState(bool running) {
    controls_.pacer->flush();
    running_ = running;
    controls_.programButton->setText(running ? QStringLiteral("&Abbrechen")
                                             : QStringLiteral("&Programmieren"));
    controls_.endButton->setEnabled(!running);
    controls_.optionsButton->setEnabled(!running);
    controls_.scriptTabs->setEnabled(!running);
    controls_.scriptSlider->setEnabled(!running);
    runStateChanged_();
}

void WindowRunSide::addTrace(const QString &line) {
    if (trace_)
        trace_->addTrace(line);
}

} // namespace telmaris
