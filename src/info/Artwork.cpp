#include "info/Artwork.h"

namespace telmaris {

QPixmap logoPicture() {
    return {QStringLiteral(":/telmaris/logo.png")};
}

QPixmap smallLogoPicture() {
    return {QStringLiteral(":/telmaris/logo-klein.png")};
}

QCursor logoPointer() {
    // The hot spot is the end of the mouse's cable, at the top left.
    return QCursor(QPixmap(QStringLiteral(":/telmaris/mauszeiger.png")), 3, 2);
}

QString logoToolTip() {
    return QStringLiteral("Klicken Sie hier, um weitere Programme des Telmaris-Teams "
                          "kennenzulernen.");
}

} // namespace telmaris
