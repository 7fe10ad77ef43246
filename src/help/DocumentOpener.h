#pragma once
// The hand-over of a file or a web or mail address to the desktop's default application. The
// program uses the desktop's service; tests put a recorder in its place, so no browser starts.

#include <QUrl>

namespace telmaris {

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when no program took the address (none is set up for its kind, or none could be
    // started).
    virtual bool open(const QUrl &url) = 0;
};

} // namespace telmaris
