#pragma once
// What a run needs from the window. The main window implements it; runner tests use a
// recording fake that answers the boxes from a list.

#include "common/Dialogs.h"

#include <QString>

namespace telmaris {

class RunnerUi {
public:
    virtual ~RunnerUi() = default;

    virtual void Status(const QString &text) = 0;
    // Modal boxes; titles as given ("Telmaris", "Telmaris - <name>").
    virtual void ShowMessage(MessageIcon icon, const QString &title, const QString &text) = 0;
    // Modal input box without a preset text; cancelling gives the empty text.
    virtual QString InputBox(const QString &title, const QString &prompt) = 0;
    virtual void Beep() = 0;

    // The visible editor box. Text and positions are in CR LF text, counted from 0. A run reads
    // the text once: the box is locked until the run is over.
    virtual QString EditorText() const = 0;
    virtual void SetEditorLocked(bool locked) = 0;
    virtual void SelectEditorRange(int start, int length) = 0;
    virtual int EditorCaret() const = 0;
    virtual void SetEditorCaret(int position) = 0; // drops any selection
    virtual void FocusEditor() = 0;

    // Running: button 0 reads "&Abbrechen", "&Ende" and "&Optionen" (and the slot choice) are
    // disabled; idle: everything back.
    virtual void SetRunState(bool running) = 0;
};

} // namespace telmaris
