#include "help/DesktopOpener.h"

#include <QDesktopServices>

namespace telmaris {

bool DesktopOpener::open(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

} // namespace telmaris
