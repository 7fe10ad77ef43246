#pragma once
// Text for standard output or standard error, in the characters its reader expects: on Unix the
// locale's encoding; on Windows the console's own (UTF-16) characters when the stream is a
// console, else the system's ANSI code page, as Windows programs write to files and pipes.

#include <QString>
#include <cstdio>

namespace telmaris {

// Writes the text as it stands and flushes the stream.
void printText(std::FILE *stream, const QString &text);

// One line on standard error: a message for the user, a scheduled job's log or a terminal.
inline void printErrorLine(const QString &line) {
    printText(stderr, line + u'\n');
}

} // namespace telmaris
