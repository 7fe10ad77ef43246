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

    IniFile &ini() { return ini_; }
    ScriptSlots &scripts() { return slots_; }

    // Stores the editor's text as slot n's text when it changed. A failure is reported (status
    // line and box); false then, and the text stays only in the editor.
    bool storeScript(int n, const EditorText &editor);

    // The close: the changed script of slot n, the settings entries and the entries of
    // section [Ports] in one write, so the file is replaced once. A script that cannot be stored
    // keeps the window open once (false), so that the user can still copy it; a second attempt
    // closes all the same and reports the settings as not stored.
    bool storeForClose(int n, const EditorText &editor, const IniEntries &settings,
                       const IniEntries &ports = {});

private:
    void reportScriptNotSaved(int n, const QString &reason);

    RunnerUi &ui_;
    IniFile ini_;
    ScriptSlots slots_;
    bool saveFailureReported_ = false;
};

} // namespace telmaris
