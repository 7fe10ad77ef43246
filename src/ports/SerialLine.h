#pragma once
// The serial line to the modem, opened 8N1, with the lock conventions of terminal and dial-up
// programs honoured. It hands on received bytes and the line's error events, among them the
// overrun, break and parity errors that only the driver's counters tell, and a line that
// vanished (an unplugged USB modem, a hung-up terminal). How this is done differs by
// platform: each has a file of its own that defines SerialLine::Port.

#include "ports/LineError.h"
#include "ports/LineErrorCounts.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

namespace telmaris {

class SerialLine : public QObject {
    Q_OBJECT
public:
    // Output that makes no progress for this long counts as an error event: a modem that is
    // switched off never raises CTS, so the output never drains.
    static constexpr int DefaultDrainTimeoutMs = 5000;
    // The driver's error counters are read at each received chunk and at this interval while
    // the port is open, so an error is noticed while a command waits for an answer that the
    // error swallowed.
    static constexpr int ErrorCountIntervalMs = 250;

    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // Opens device at baud with 8 data bits, no parity, 1 stop bit and, when asked, RTS/CTS
    // flow control. A device that another program holds (a lock file of a living process, a
    // flock) fails to open. On failure, error (when given) tells why, in words the user can act
    // on (diagnosePort).
    bool open(const QString &device, int baud, bool hardwareFlowControl, QString *error = nullptr);
    void close();

    // Hands the bytes to the port in one write.
    void write(const QByteArray &bytes);

    void setDrainTimeout(int milliseconds);

    // Where the counters come from (the driver unless a test says otherwise); takes effect at
    // the next open.
    void setErrorCountReader(ErrorCountReader reader);

    // The platform's side of the line (SerialLinePort.h).
    class Port;

signals:
    void received(const QByteArray &bytes);
    // Every error condition of the open port except an operation the device does not support
    // and a framing error (such a character shows only as a NUL byte received). After Gone the
    // port is already closed.
    void errorEvent(telmaris::LineError error);

private:
    std::unique_ptr<Port> port_;
};

} // namespace telmaris
