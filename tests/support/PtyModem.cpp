#include "PtyModem.h"

#include <stdexcept>

namespace telmaris::test {

PtyModem::PtyModem(modemsim::ModemOptions options) : modem_(std::move(options)) {
    if (!modem_.start())
        throw std::runtime_error("cannot start the modem simulator: " +
                                 modem_.errorString().toStdString());
}

} // namespace telmaris::test
