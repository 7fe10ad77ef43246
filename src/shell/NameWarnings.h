#pragma once
// What the command line would make of a script's name: a name that "debug" or an option
// shadows, that another script has too, or that reads as another script's number. The window
// warns before such a name is given, since an unattended run started by that name would run a
// script the user did not mean, or none.

#include <QStringList>

namespace telmaris {

// One sentence for each way in which name, given to slot n, would mislead an AutoMode start;
// names holds the names of slots 1..100 (entry n-1 is slot n's, which is not compared).
// Names are compared as the command line compares them: blanks at the ends removed, letter
// case ignored.
QStringList nameWarnings(int n, const QString &name, const QStringList &names);

// The question before such a name is taken: the warnings, and whether to take it all the same.
QString nameWarningQuestion(int n, const QString &name, const QStringList &warnings);

} // namespace telmaris
