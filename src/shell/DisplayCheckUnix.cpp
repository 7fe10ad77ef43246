// Whether a window system can be reached on Linux and other X11 or Wayland systems.

#include "shell/StartUp.h"

#include <QtGlobal>

#include <xcb/xcb.h>

namespace telmaris {

namespace {

// Whether the X server DISPLAY names accepts a connection. The toolkit aborts the process
// when it cannot connect, so the same connection is tried first and closed again.
bool xServerAnswers() {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace

bool displayReachable() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") && xServerAnswers();
}

} // namespace telmaris
