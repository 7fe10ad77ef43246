#pragma once
// The error counters a serial driver keeps for its line. QSerialPort reports no overrun, break
// or parity error, so a swallowed "OK" would leave a run waiting for ever; the driver's own
// counters tell of such errors.

#include <functional>
#include <optional>

namespace telmaris {

struct LineErrorCounts {
    long long overrun = 0;    // the UART's receive register overran
    long long bufOverrun = 0; // the driver's receive buffer overran
    long long brk = 0;        // break conditions
    long long parity = 0;
    long long frame = 0;
};

// The counters of the open serial device fd; nothing when the device keeps none (a
// pseudo-terminal, a USB adapter whose driver does not count, a system other than Linux).
std::optional<LineErrorCounts> readDriverErrorCounts(int fd);
using ErrorCountReader = std::function<std::optional<LineErrorCounts>(int fd)>;

// Whether the counters rose by an error that can lose characters. A framing error alone does
// not count: the line discipline hands such a character on, and the modem link ignores it.
bool charactersMayBeLost(const LineErrorCounts &before, const LineErrorCounts &now);

} // namespace telmaris
