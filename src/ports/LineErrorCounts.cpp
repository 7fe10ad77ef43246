#include "ports/LineErrorCounts.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace telmaris {

std::optional<LineErrorCounts> readDriverErrorCounts(int fd) {
#ifdef Q_OS_LINUX
    serial_icounter_struct counts{};
    if (fd < 0 || ::ioctl(fd, TIOCGICOUNT, &counts) != 0)
        return std::nullopt;
    return LineErrorCounts{counts.overrun, counts.buf_overrun, counts.brk, counts.parity,
                           counts.frame};
#else
    Q_UNUSED(fd);
    return std::nullopt;
#endif
}

bool charactersMayBeLost(const LineErrorCounts &before, const LineErrorCounts &now) {
    return now.overrun != before.overrun || now.bufOverrun != before.bufOverrun ||
           now.brk != before.brk || now.parity != before.parity;
}

} // namespace telmaris
