#pragma once
// What can go wrong on an open serial line, in the terms a run tells apart. The same on every
// platform: each platform's line maps its own error reports onto these.

namespace telmaris {

enum class LineError {
    // The device is gone (an unplugged USB modem, a hung-up terminal) or the line is not open.
    // The line is already closed when this is reported.
    Gone,
    // Output makes no progress: a modem that is switched off never raises CTS.
    OutputStuck,
    // Characters may have been lost or corrupted (overrun, break, parity), or the device
    // refused a write or a setting.
    Failed,
};

} // namespace telmaris
