#pragma once
// What a run needs from the window. The main window implements it; runner tests use a
// recording fake that answers the boxes from a list.

#include "common/Dialogs.h"

#include <QString>
#include <functional>
#include <optional>

namespace telmaris {

class RunnerUi {
public:
    virtual ~RunnerUi() = default;

    virtual void status(const QString &text) = 0;
    // A modal box that is shown before the caller goes on (the settings file's failures).
    virtual void showMessage(MessageIcon icon, const QString &title, const QString &text) = 0;
    // The run's boxes: modal for the user, but they return at once, and the run goes on when
    // the box is closed. Titles as given ("Telmaris", "Telmaris - <name>"). The input box has
    // no preset text; its answer is nothing when the user cancelled it. closeBox() takes the
    // box away that is open, and its callback is not called.
    virtual void openMessage(MessageIcon icon, const QString &title, const QString &text,
                             std::function<void()> closed) = 0;
    virtual void openInput(const QString &title, const QString &prompt,
                           std::function<void(const std::optional<QString> &)> answered) = 0;
    virtual void closeBox() = 0;
    virtual void beep() = 0;

    // The visible editor box. Text and positions are in CR LF text, counted from 0. A run reads
    // the text once: the box is locked until the run is over.
    virtual QString editorText() const = 0;
    virtual void setEditorLocked(bool locked) = 0;
    virtual void selectEditorRange(int start, int length) = 0;
    virtual int editorCaret() const = 0;
    virtual void setEditorCaret(int position) = 0; // drops any selection
    virtual void focusEditor() = 0;

    // Running: button 0 reads "&Abbrechen", "&Ende" and "&Optionen" (and the slot choice) are
    // disabled; idle: everything back.
    virtual void setRunState(bool running) = 0;
};

} // namespace telmaris
