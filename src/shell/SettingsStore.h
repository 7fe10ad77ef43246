#pragma once
// The file side of a window session: finding and reading the settings file at start-up,
// storing the current script before a run and at a tab switch, and the one write at the close.
// Failures are told through the window's boxes and status line (RunnerUi); no widgets here.

#include "store/IniFile.h"
#include "store/ScriptSlots.h"

#include <functional>

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

    // How a copy that finds its script changed in the file by another copy asks whether to
    // overwrite it ("Ja"), and tells where its own text went instead.
    struct OtherCopyAnswers {
        std::function<bool(const QString &question)> ask;
        std::function<void(const QString &text)> tell;
    };
    void setOtherCopyAnswers(OtherCopyAnswers answers) { otherCopy_ = std::move(answers); }

    IniFile &ini() { return ini_; }
    ScriptSlots &scripts() { return slots_; }

    // Stores the editor's text as slot n's text when it changed. A failure is reported (status
    // line and box); false then, and the text stays only in the editor. False too when another
    // copy stored the slot meanwhile and the user keeps its text (see OtherCopyAnswers).
    bool storeScript(int n, EditorText &editor);

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
    CloseWrite storeForClose(int n, EditorText &editor, const IniEntries &settings,
                             const IniEntries &ports = {});

private:
    void reportScriptNotSaved(int n, const QString &reason);
    // Before slot n's changed text is written: false when another copy stored that slot since
    // this one read or wrote it and the user keeps the other copy's text. The own text is then
    // in a rescue file, and the editor shows the file's text.
    bool mayOverwrite(int n, EditorText &editor);

    RunnerUi &ui_;
    IniFile ini_;
    ScriptSlots slots_;
    IniSnapshot atStart_; // the file as read at start-up
    bool readFailed_ = false;
    OtherCopyAnswers otherCopy_;
};

} // namespace telmaris
