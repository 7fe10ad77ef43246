#include "info/InfoPosition.h"

namespace telmaris {

QPoint infoDialogPosition(const QRect &screen, const QSize &dialog) {
    if (screen.width() <= 640 || screen.height() <= 480)
        return screen.topLeft();
    return screen.topLeft() +
           QPoint((screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 2);
}

} // namespace telmaris
