#pragma once
// The options that only print something on standard output and end: --help, --version and
// --list. They are decided before anything else, so they need no window system, and they
// write nothing: --list reads the settings file where the window would find it, without
// creating it.

#include <QString>
#include <functional>

namespace telmaris {

enum class InfoOption { None, Help, Version, List };

// The option the argument text is, with blanks at its ends removed as the command line compares
// it; written exactly so, nothing else. A script named "--list" is still reached by its number.
InfoOption infoOptionOf(const QString &argument);

// Prints what option asks for; programFolder gives the program's folder, asked only by --list.
// Returns the exit status: 0, or 1 when the settings file is there but cannot be read.
int printInfo(InfoOption option, const std::function<QString()> &programFolder);

} // namespace telmaris
