#pragma once
// Reading and writing the current slot's text, and the escape encoding that turns a
// multi-line text into one INI value.

#include <QHash>
#include <QPair>
#include <QString>

namespace telmaris {

class IniFile;
class IniSnapshot;

// Backslash -> "\\", tab -> "\T", LF -> "\L", CR -> "\N", '"' -> "\H".
QString encodeIniText(const QString &text);
// The reverse; escape letters in either case, an unknown escape gives the bare character, a
// trailing lone backslash is dropped.
QString decodeIniText(const QString &value);

// Slot n's stored text as the editor shows it (CR LF text), from a snapshot of the file.
QString storedSkriptText(int n, const IniSnapshot &ini);

// The visible editor box as the store sees it: CR LF text.
class EditorText {
public:
    virtual ~EditorText() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};

class ScriptSlots {
public:
    explicit ScriptSlots(IniFile &ini) : ini_(ini) {}

    // Set by every change of the editor text, cleared after loading and after a stored write.
    bool skriptChanged = false;

    // Loads slot n's stored text into the editor and clears SkriptChanged.
    void readCurrSkriptText(int n, EditorText &editor);
    // The same from a snapshot already read (start-up reads the file once for everything).
    void readCurrSkriptText(int n, const IniSnapshot &ini, EditorText &editor);
    // Stores the editor's text (blanks trimmed at both ends) as slot n's text if it changed.
    // Returns false with a reason when the write failed; SkriptChanged then stays set so the
    // text is tried again.
    bool writeCurrSkriptText(int n, const EditorText &editor, QString *error = nullptr);

    // Slot n's key and the editor's text as stored (blanks trimmed at both ends), for a write
    // that stores more keys at once; the caller clears SkriptChanged once it is stored.
    static QPair<QString, QString> skriptTextEntry(int n, const EditorText &editor);

    // Whether slot n's text in the file, as the file is now, is no longer the one this copy
    // last read or wrote: another running copy stored it meanwhile.
    bool changedElsewhere(int n) const;
    // Slot n's text, as the file holds it now, goes into the editor, and counts as read.
    void takeFileText(int n, EditorText &editor) { readCurrSkriptText(n, editor); }
    // A write that stored slot n's entry (from skriptTextEntry) tells it here.
    void noteStored(int n, const QString &value) { known_[n] = value; }

private:
    IniFile &ini_;
    // Each slot's value as this copy last read or wrote it.
    QHash<int, QString> known_;
};

// What the user is told when a script text could not be stored.
QString scriptNotSavedMessage(int n, const QString &reason);
QString settingsNotSavedMessage(const QString &reason);

} // namespace telmaris
