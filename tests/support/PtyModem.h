#pragma once
// A Hayes modem simulator on a pseudo-terminal, started in the test's own process. The test
// opens devicePath() with the real serial stack and looks at what the modem received.

#include "ModemSimulator.h"

#include <QString>

namespace telmaris::test {

class PtyModem {
public:
    // Starts the modem at once; throws std::runtime_error when no pseudo-terminal can be had.
    explicit PtyModem(modemsim::ModemOptions options = {});

    QString devicePath() const { return modem_.slavePath(); }
    modemsim::ModemSimulator &modem() { return modem_; }
    modemsim::ModemSimulator *operator->() { return &modem_; }

    // The commands received so far, each without its CR.
    QList<QByteArray> commands() const { return modem_.commandTexts(); }

private:
    modemsim::ModemSimulator modem_;
};

} // namespace telmaris::test
