#pragma once
// Opens files and addresses with the desktop's default application, without a shell.

#include "help/DocumentOpener.h"

namespace telmaris {

class DesktopOpener : public DocumentOpener {
public:
    bool open(const QUrl &url) override;
};

} // namespace telmaris
