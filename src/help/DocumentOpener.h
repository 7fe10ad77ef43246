#pragma once
// The hand-over of a file or a web or mail address to the desktop's default application. The
// program uses the desktop's service; tests put a recorder in its place, so no browser starts.

#include <QUrl>

namespace telmaris {

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Whether the hand-over worked is not examined.
    virtual void open(const QUrl &url) = 0;
};

} // namespace telmaris
