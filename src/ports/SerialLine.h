#pragma once
// The serial line to the modem: a QSerialPort opened 8N1, with the lock conventions of
// terminal and dial-up programs honoured, that hands on received bytes and the port's error
// events, among them the overrun, break and parity errors that only the driver's counters tell,
// and a line that vanished (an unplugged USB modem, a hung-up terminal), which it sees from
// the terminal itself.

#include "ports/LineErrorCounts.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace telmaris {

class SerialLine : public QObject {
    Q_OBJECT
public:
    // Output that makes no progress for this long counts as an error event: a modem that is
    // switched off never raises CTS, so the output never drains.
    static constexpr int DefaultDrainTimeoutMs = 5000;

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

    // The driver's error counters are read at each received chunk and at this interval while
    // the port is open, so an error is noticed while a command waits for an answer that the
    // error swallowed.
    static constexpr int ErrorCountIntervalMs = 250;
    // Where the counters come from (the driver unless a test says otherwise); takes effect at
    // the next open.
    void setErrorCountReader(ErrorCountReader reader);

signals:
    void received(const QByteArray &bytes);
    // Every error condition of the open port except an operation the device does not
    // support (a framing error shows only as a NUL byte received), and, as UnknownError, a rise
    // of the driver's overrun, break or parity counters. A line that vanished is a
    // ResourceError. After a read or resource error the port is already closed.
    void errorEvent(QSerialPort::SerialPortError error);

private:
    void readAvailable();
    void handleError(QSerialPort::SerialPortError error);
    void shutDown();
    void watchForHangUp();
    void checkLineGone();
    void checkDrain();
    void checkErrorCounts();
    qint64 pendingOutput() const;

    QSerialPort port_;
    QTimer drainTimer_;
    qint64 pendingAtLastCheck_ = 0;
    bool opening_ = false;
    ErrorCountReader countReader_ = readDriverErrorCounts;
    std::optional<LineErrorCounts> counts_; // nothing: the device keeps no counters
    QTimer countTimer_;
    // A second descriptor of the open device, watched for a hang-up: the toolkit's own
    // notifier of the device cannot be shared, and some versions of it take a hung-up terminal
    // for one that has nothing to read.
    int watchFd_ = -1;
    QSocketNotifier *hangUpNotifier_ = nullptr; // a child; null while nothing is watched
};

} // namespace telmaris
