// Whether a window system can be reached on Linux and other X11 or Wayland systems.

#include "shell/StartUp.h"

#include "common/UserTexts.h"

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

std::optional<QString> missingDisplay() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::nullopt;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return texts::NoDisplayLine;
    if (!xServerAnswers())
        return texts::DisplayNotAnsweringLine.arg(display);
    return std::nullopt;
}

} // namespace telmaris
