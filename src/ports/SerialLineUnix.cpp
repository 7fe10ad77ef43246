// The serial line on Linux and other Unix systems: a QSerialPort, with a flock beside the lock
// files, the driver's error counters, and a second descriptor that sees a hung-up terminal.

#include "ports/SerialLinePort.h"

#include "ports/PortDiagnosis.h"
#include "ports/PortLock.h"

#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace telmaris {

namespace {

// Whether the terminal behind fd is gone: hung up (poll says so, its ioctls fail with EIO) or
// readable without a byte to read, which is the end of input on a terminal that reads raw.
bool terminalGone(int fd) {
    pollfd watched{fd, POLLIN, 0};
    if (::poll(&watched, 1, 0) < 0)
        return false;
    if ((watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        return true;
    int available = 0;
    if (::ioctl(fd, FIONREAD, &available) != 0)
        return errno == EIO || errno == ENXIO || errno == ENODEV;
    return (watched.revents & POLLIN) != 0 && available == 0;
}

class UnixPort final : public SerialLine::Port {
public:
    explicit UnixPort(SerialLine &line);

    bool open(const QString &device, int baud, bool hardwareFlowControl, QString *error) override;
    void close() override;
    void write(const QByteArray &bytes) override;
    void setDrainTimeout(int milliseconds) override { drainTimer_.setInterval(milliseconds); }
    void setErrorCountReader(ErrorCountReader reader) override { countReader_ = std::move(reader); }

private:
    void readAvailable();
    void handleError(QSerialPort::SerialPortError error);
    void shutDown();
    void watchForHangUp();
    void checkLineGone();
    void checkDrain();
    void checkErrorCounts();
    qint64 pendingOutput() const;
    int handle() const { return static_cast<int>(port_.handle()); }

    SerialLine &line_;
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
    QSocketNotifier *hangUpNotifier_ =
        nullptr; // a child of the line; null while nothing is watched
};

UnixPort::UnixPort(SerialLine &line) : line_(line) {
    drainTimer_.setInterval(SerialLine::DefaultDrainTimeoutMs);
    QObject::connect(&drainTimer_, &QTimer::timeout, &line_, [this] { checkDrain(); });
    countTimer_.setInterval(SerialLine::ErrorCountIntervalMs);
    QObject::connect(&countTimer_, &QTimer::timeout, &line_, [this] { checkErrorCounts(); });
    QObject::connect(&port_, &QSerialPort::readyRead, &line_, [this] { readAvailable(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &line_,
                     [this](QSerialPort::SerialPortError error) { handleError(error); });
}

bool UnixPort::open(const QString &device, int baud, bool hardwareFlowControl, QString *error) {
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    close();
    if (device.isEmpty() || findForeignLockFile(device))
        return fail(diagnosePort(device, QString()));

    port_.setPortName(device);
    port_.setBaudRate(baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(hardwareFlowControl ? QSerialPort::HardwareControl
                                             : QSerialPort::NoFlowControl);
    opening_ = true;
    const bool opened = port_.open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        const QString systemText = port_.errorString();
        port_.clearError();
        return fail(diagnosePort(device, systemText));
    }
    if (!takeExclusiveFlock(handle())) {
        port_.close();
        port_.clearError();
        return fail(diagnosePort(device, QString()));
    }
    port_.clearError();
    pendingAtLastCheck_ = 0;
    counts_ = countReader_(handle());
    if (counts_)
        countTimer_.start();
    watchForHangUp();
    return true;
}

void UnixPort::close() {
    if (port_.isOpen())
        port_.flush(); // whatever is still buffered (a hang-up after an abort) goes out first
    shutDown();
}

void UnixPort::shutDown() {
    drainTimer_.stop();
    countTimer_.stop();
    counts_.reset();
    if (hangUpNotifier_) {
        // It may be what called: it goes once its signal is over.
        hangUpNotifier_->setEnabled(false);
        hangUpNotifier_->deleteLater();
        hangUpNotifier_ = nullptr;
    }
    if (watchFd_ >= 0)
        ::close(watchFd_);
    watchFd_ = -1;
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

void UnixPort::watchForHangUp() {
    watchFd_ = ::fcntl(handle(), F_DUPFD_CLOEXEC, 0);
    if (watchFd_ < 0)
        return; // no second descriptor: the toolkit's error report and the timers remain
    hangUpNotifier_ = new QSocketNotifier(watchFd_, QSocketNotifier::Read, &line_);
    QObject::connect(hangUpNotifier_, &QSocketNotifier::activated, &line_,
                     [this] { checkLineGone(); });
}

void UnixPort::checkLineGone() {
    if (!port_.isOpen() || !terminalGone(handle()))
        return;
    shutDown();
    emit line_.errorEvent(LineError::Gone);
}

void UnixPort::write(const QByteArray &bytes) {
    if (!port_.isOpen()) {
        emit line_.errorEvent(LineError::Gone);
        return;
    }
    port_.write(bytes);
    port_.flush();
    if (!port_.isOpen())
        return; // the device refused the bytes and the error event closed it
    if (drainTimer_.isActive()) {
        pendingAtLastCheck_ += bytes.size(); // progress is judged on the older output
    } else {
        pendingAtLastCheck_ = pendingOutput();
        drainTimer_.start();
    }
}

void UnixPort::readAvailable() {
    if (!port_.isOpen())
        return;
    checkErrorCounts(); // an error in this chunk is known before its answer lines are
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty())
        emit line_.received(bytes);
}

void UnixPort::handleError(QSerialPort::SerialPortError error) {
    if (opening_)
        return;
    LineError reported = LineError::Failed;
    switch (error) {
    // Qt 6 reports no framing errors: such a character arrives as a NUL byte, which the answer
    // collector drops. Modem-control requests a device cannot do are no error of the line.
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
    case QSerialPort::NotOpenError:
        // The device is gone (an unplugged USB modem); the port would report this in a
        // tight loop for as long as it stays open.
        shutDown();
        reported = LineError::Gone;
        break;
    case QSerialPort::TimeoutError:
        reported = LineError::OutputStuck;
        break;
    default:
        break;
    }
    port_.clearError();
    emit line_.errorEvent(reported);
}

void UnixPort::checkDrain() {
    checkLineGone();
    const qint64 pending = port_.isOpen() ? pendingOutput() : 0;
    if (pending == 0) {
        drainTimer_.stop();
        return;
    }
    if (pending < pendingAtLastCheck_) {
        pendingAtLastCheck_ = pending; // slow, but moving
        return;
    }
    drainTimer_.stop();
    emit line_.errorEvent(LineError::OutputStuck);
}

void UnixPort::checkErrorCounts() {
    if (!counts_ || !port_.isOpen())
        return;
    const std::optional<LineErrorCounts> now = countReader_(handle());
    if (!now) {
        checkLineGone(); // the counters fail with the device that is gone
        return;
    }
    const bool lost = charactersMayBeLost(*counts_, *now);
    counts_ = now;
    if (lost)
        emit line_.errorEvent(LineError::Failed);
}

qint64 UnixPort::pendingOutput() const {
    qint64 pending = port_.bytesToWrite();
    int queued = 0;
    if (::ioctl(handle(), TIOCOUTQ, &queued) == 0 && queued > 0)
        pending += queued;
    return pending;
}

} // namespace

std::unique_ptr<SerialLine::Port> makeSerialLinePort(SerialLine &line) {
    return std::make_unique<UnixPort>(line);
}

} // namespace telmaris
