// Whether a window system can be reached on Windows: a desktop is always there. (Telling a
// session that nobody sees, such as a scheduled task run without a logged-on user, is still
// to come.)

#include "shell/StartUp.h"

namespace telmaris {

bool displayReachable() {
    return true;
}

} // namespace telmaris
