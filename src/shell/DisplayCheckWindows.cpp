// Whether a window system can be reached on Windows: a window station that the user sees. A
// scheduled task that runs whether or not a user is logged on gets one that nobody sees; a box
// shown there would wait for a click that never comes.

#include "shell/StartUp.h"

#include "common/UserTexts.h"

#include <windows.h>

namespace telmaris {

std::optional<QString> missingDisplay() {
    USEROBJECTFLAGS flags = {};
    const HWINSTA station = GetProcessWindowStation();
    // A station that cannot be asked is taken as the desktop it almost always is.
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr))
        return std::nullopt;
    if (flags.dwFlags & WSF_VISIBLE)
        return std::nullopt;
    return texts::NoVisibleDesktopLine;
}

} // namespace telmaris
