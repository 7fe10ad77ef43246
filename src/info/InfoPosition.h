#pragma once
// Where the info dialog appears: in the top-left corner of a screen of at most 640 x 480
// pixels, centred on any larger one. dialog is the size of its outer frame; the result is where
// that frame's top-left corner goes.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace telmaris {

QPoint infoDialogPosition(const QRect &screen, const QSize &dialog);

} // namespace telmaris
