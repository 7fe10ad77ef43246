#include "shell/SettingsStore.h"

#include "common/UserTexts.h"
#include "runner/RunnerUi.h"
#include "store/RescueFile.h"

#include <QDir>

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

bool SettingsStore::storeScript(int n, EditorText &editor) {
    if (slots_.skriptChanged && !mayOverwrite(n, editor))
        return false;
    QString reason;
    if (slots_.writeCurrSkriptText(n, editor, &reason))
        return true;
    reportScriptNotSaved(n, reason);
    return false;
}

SettingsStore::CloseWrite SettingsStore::storeForClose(int n, EditorText &editor,
                                                       const IniEntries &settings,
                                                       const IniEntries &ports) {
    if (slots_.skriptChanged)
        mayOverwrite(n, editor); // kept the other copy's text: only the settings are written
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
        if (scriptChanged)
            slots_.noteStored(n, entries.first().second);
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

bool SettingsStore::mayOverwrite(int n, EditorText &editor) {
    if (!slots_.changedElsewhere(n) || !otherCopy_.ask)
        return true;
    const QString script = scriptLabel(n, QString());
    const QString iniPath = QDir::toNativeSeparators(ini_.path());
    if (otherCopy_.ask(texts::OtherCopyQuestion.arg(script, iniPath)))
        return true;
    QString error;
    const std::optional<QString> rescue = writeRescueFile(ini_.path(), n, editor.text(), &error);
    if (!rescue) {
        // Nowhere to keep it: the own text is not dropped, it wins as it would without the check.
        otherCopy_.tell(texts::OtherCopyNotRescuedMessage.arg(script, error));
        return true;
    }
    otherCopy_.tell(texts::OtherCopyRescuedMessage.arg(script, *rescue, iniPath));
    slots_.takeFileText(n, editor);
    return false;
}

} // namespace telmaris
