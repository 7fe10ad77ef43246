#include "shell/SettingsStore.h"

#include "common/UserTexts.h"
#include "runner/RunnerUi.h"

namespace telmaris {

SettingsStore::SettingsStore(RunnerUi &ui) : ui_(ui), ini_(QString()), slots_(ini_) {}

IniSnapshot SettingsStore::open(const QString &programDir) {
    ini_ = IniFile(locateIniFile(programDir));
    // A file that is there but cannot be read is reported; the program goes on with the
    // defaults, which the close then never writes over the file.
    QString readError;
    atStart_ = ini_.snapshot(&readError);
    readFailed_ = !readError.isEmpty();
    if (readFailed_)
        ui_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                        settingsNotReadMessage(ini_.path(), readError));
    return atStart_;
}

bool SettingsStore::storeScript(int n, const EditorText &editor) {
    QString reason;
    if (slots_.writeCurrSkriptText(n, editor, &reason))
        return true;
    reportScriptNotSaved(n, reason);
    return false;
}

SettingsStore::CloseWrite SettingsStore::storeForClose(int n, const EditorText &editor,
                                                       const IniEntries &settings,
                                                       const IniEntries &ports) {
    const bool scriptChanged = slots_.skriptChanged;
    IniEntries entries;
    if (scriptChanged)
        entries.append(ScriptSlots::skriptTextEntry(n, editor));
    // A file that cannot be read now is left to the write, which reports it.
    if (!readFailed_)
        entries.append(changedSince(DataSection, settings, atStart_, ini_.snapshot()));
    QString reason;
    QList<QPair<QString, IniEntries>> sections{{DataSection, entries}};
    if (!readFailed_ && !ports.isEmpty())
        sections.append({PortsSection, ports});
    if ((entries.isEmpty() && sections.size() == 1) || ini_.writeIniSections(sections, &reason)) {
        slots_.skriptChanged = false;
        if (readFailed_)
            ui_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                            texts::SettingsKeptMessage);
        return {};
    }
    if (scriptChanged) {
        ui_.status(texts::ScriptNotSavedStatus);
        return {false, reason};
    }
    ui_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                    settingsNotSavedMessage(reason));
    return {};
}

void SettingsStore::reportScriptNotSaved(int n, const QString &reason) {
    ui_.status(texts::ScriptNotSavedStatus);
    ui_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                    scriptNotSavedMessage(n, reason));
}

} // namespace telmaris
