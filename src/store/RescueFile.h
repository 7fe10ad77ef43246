#pragma once
// A script text that cannot go into the settings file and must not be lost: it is written to a
// file of its own beside the settings file (or, where that folder takes no file, in the home
// folder), readable by its owner only, since a script may hold codes of the telephone system.

#include <QString>
#include <optional>

namespace telmaris {

// Writes text as "Telmaris-Skript<n>-<date>-<time>.txt" beside iniPath; the path written, or
// nothing with the last reason in error.
std::optional<QString> writeRescueFile(const QString &iniPath, int n, const QString &text,
                                       QString *error = nullptr);

// "Das Skript n", with its name in quotes where it has one: how boxes and lines name a script.
QString scriptLabel(int n, const QString &name);

} // namespace telmaris
