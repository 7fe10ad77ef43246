#pragma once
// The program's pictures: the logo (tall for the info dialog, small for the main window), the
// mouse pointer shown over a logo, and the logo's tooltip.

#include <QCursor>
#include <QPixmap>
#include <QString>

namespace telmaris {

QPixmap logoPicture();
QPixmap smallLogoPicture();
// A small picture of a computer mouse, for the pointer over the logo pictures.
QCursor logoPointer();
QString logoToolTip();

} // namespace telmaris
