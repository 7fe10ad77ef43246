#pragma once
// The file side of a window session: finding and reading the settings file at start-up,
// storing the current script before a run and at a tab switch, and the one write at the close.
// Failures are told through the window's boxes and status line (RunnerUi); no widgets here.

#include "store/IniFile.h"
#include "store/ScriptSlots.h"

namespace telmaris {

class RunnerUi;

class SettingsStore {
public:
    explicit SettingsStore(RunnerUi &ui);

    // Finds the settings file for the program in programDir and reads it once. A file that is
    // there but cannot be read is reported; its snapshot is empty.
    IniSnapshot open(const QString &programDir);
    // The settings file is there but could not be read at start-up: the settings in use are
    // defaults, not the user's.
    bool readFailed() const { return readFailed_; }

    IniFile &ini() { return ini_; }
    ScriptSlots &scripts() { return slots_; }

    // Stores the editor's text as slot n's text when it changed. A failure is reported (status
    // line and box); false then, and the text stays only in the editor.
    bool storeScript(int n, const EditorText &editor);

    // What the close's write came to: the changed script could not be written (scriptKept
    // false) for reason; the status line says so, and the caller decides what becomes of it.
    struct CloseWrite {
        bool scriptKept = true;
        QString reason;
    };
    // The close: the changed script of slot n, the settings entries and the entries of section
    // [Ports] in one write, so the file is replaced once. Of the settings only those are written
    // that this copy changed since it read them or that the file lacks: another running copy's
    // changes survive. After a start whose file could not be read no settings are written at
    // all, and the user is told; settings that cannot be written are reported. The script stays
    // changed until it is written.
    CloseWrite storeForClose(int n, const EditorText &editor, const IniEntries &settings,
                             const IniEntries &ports = {});

private:
    void reportScriptNotSaved(int n, const QString &reason);

    RunnerUi &ui_;
    IniFile ini_;
    ScriptSlots slots_;
    IniSnapshot atStart_; // the file as read at start-up
    bool readFailed_ = false;
};

} // namespace telmaris
