#pragma once
// Takes the addresses the program hands to the desktop, so no browser or mail program starts.

#include "help/DocumentOpener.h"

#include <QStringList>
#include <QUrl>

namespace telmaris::test {

class RecordingOpener : public DocumentOpener {
public:
    bool open(const QUrl &url) override {
        opened.append(url);
        addresses << url.toString(QUrl::FullyEncoded);
        return accepts;
    }
    QList<QUrl> opened;
    QStringList addresses; // as handed over, fully encoded
    bool accepts = true;   // false: as if no program on the desktop took the address
};

} // namespace telmaris::test
