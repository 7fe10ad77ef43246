#pragma once
// What the command line asks for: interactive use, trace mode, an AutoMode run of one slot,
// or an unknown parameter.

#include <QString>
#include <QStringList>

namespace telmaris {

struct CommandLineChoice {
    enum Kind { Interactive, Trace, AutoMode, Unknown } kind = Interactive;
    int slot = 0;    // AutoMode: 1..100
    QString message; // Unknown: the message box text (lines separated by single CR)
};

// Whether the argument text asks for trace mode: "debug" in any letter case, blanks around it.
bool asksForTrace(const QString &argument);

// argument: the argument text exactly as passed (all arguments joined by blanks);
// tabCaptions: the captions of tabs 1..100.
CommandLineChoice resolveCommandLine(const QString &argument, const QStringList &tabCaptions);

// Exit statuses of the process.
enum ExitStatus {
    ExitSuccess = 0,   // interactive end, or an AutoMode run that succeeded
    ExitRunFailed = 1, // the AutoMode run ended with an error or abort
    ExitUnknownParameter = 2,
    ExitNoDisplay = 2, // the window was asked for where no window system can be reached
    ExitNoSerialPort = 3,
};

} // namespace telmaris
