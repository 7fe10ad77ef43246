#pragma once
// What the process settles before the application object exists: the program's name, which
// names its folder among the standard paths whatever the program file is called, and the
// command line exactly as the user typed it (the application object would remove the toolkit's
// own options from it, so "-reverse 7" would run slot 7).

#include <QString>

namespace telmaris {

// Names the application "Telmaris" and returns the argument text: all arguments after the
// program's own name, joined by blanks. Call it before the application object is made.
QString beginProcess(int argc, const char *const *argv);

} // namespace telmaris
