#pragma once
// What the process decides before the QApplication exists: whether the command line only asks
// for a printed answer (--help, --version, --list), and whether a window system can be
// reached. Without one (a scheduled job, an ssh session, a DISPLAY whose X server is gone) an
// AutoMode start goes on without any window system, and a start that needs the window ends
// with a clear line instead of the toolkit's abort.

#include <QString>
#include <functional>
#include <optional>

namespace telmaris {

struct StartPlan {
    bool display = true;           // a window system can be reached
    std::optional<int> exitStatus; // set when the process ends before the window is made
};

// Reads the environment; argument is the argument text. --help, --version and --list are
// answered first, on standard output, and set the exit status, display or none. Outside trace
// mode it silences the toolkit's notes. Without a display it chooses the offscreen platform for
// an AutoMode start, or prints why the window cannot open and sets the exit status.
// programFolder gives the program's folder; only --list asks for it.
StartPlan planStart(const QString &argument, const std::function<QString()> &programFolder);

// Why no window system can be reached, as the line that says so; none when one can. On Linux and
// other X11/Wayland systems one can when a platform was chosen through QT_QPA_PLATFORM,
// WAYLAND_DISPLAY is set, or DISPLAY is set and its X server accepts a connection (a stale
// DISPLAY counts as none). On Windows one can unless the process runs in a window station that
// nobody sees, as a scheduled task does when no user is logged on.
std::optional<QString> missingDisplay();

// Whether the argument text asks for the window (empty or "debug") rather than an AutoMode run.
bool wantsWindow(const QString &argument);

} // namespace telmaris
