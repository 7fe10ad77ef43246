#include "help/DesktopOpener.h"

#include <QDesktopServices>

namespace telmaris {

void DesktopOpener::open(const QUrl &url) {
    // The answer is ignored: a missing browser or mail program is not the program's business.
    (void)QDesktopServices::openUrl(url);
}

} // namespace telmaris
