#include "ports/SerialLine.h"

#include "ports/PortDiagnosis.h"
#include "ports/PortLock.h"

#include <QFileInfo>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace telmaris {

namespace {

#ifdef Q_OS_UNIX
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
#endif

} // namespace

SerialLine::SerialLine(QObject *parent) : QObject(parent) {
    drainTimer_.setInterval(DefaultDrainTimeoutMs);
    connect(&drainTimer_, &QTimer::timeout, this, &SerialLine::checkDrain);
    countTimer_.setInterval(ErrorCountIntervalMs);
    connect(&countTimer_, &QTimer::timeout, this, &SerialLine::checkErrorCounts);
    connect(&port_, &QSerialPort::readyRead, this, &SerialLine::readAvailable);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLine::handleError);
}

SerialLine::~SerialLine() {
    close();
}

bool SerialLine::open(const QString &device, int baud, bool hardwareFlowControl, QString *error) {
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
#ifdef Q_OS_UNIX
    if (!takeExclusiveFlock(static_cast<int>(port_.handle()))) {
        port_.close();
        port_.clearError();
        return fail(diagnosePort(device, QString()));
    }
#endif
    port_.clearError();
    pendingAtLastCheck_ = 0;
    counts_ = countReader_(static_cast<int>(port_.handle()));
    if (counts_)
        countTimer_.start();
    watchForHangUp();
    return true;
}

void SerialLine::close() {
    if (port_.isOpen())
        port_.flush(); // whatever is still buffered (a hang-up after an abort) goes out first
    shutDown();
}

void SerialLine::shutDown() {
    drainTimer_.stop();
    countTimer_.stop();
    counts_.reset();
    if (hangUpNotifier_) {
        // It may be what called: it goes once its signal is over.
        hangUpNotifier_->setEnabled(false);
        hangUpNotifier_->deleteLater();
        hangUpNotifier_ = nullptr;
    }
#ifdef Q_OS_UNIX
    if (watchFd_ >= 0)
        ::close(watchFd_);
#endif
    watchFd_ = -1;
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

void SerialLine::watchForHangUp() {
#ifdef Q_OS_UNIX
    watchFd_ = ::fcntl(static_cast<int>(port_.handle()), F_DUPFD_CLOEXEC, 0);
    if (watchFd_ < 0)
        return; // no second descriptor: the toolkit's error report and the timers remain
    hangUpNotifier_ = new QSocketNotifier(watchFd_, QSocketNotifier::Read, this);
    connect(hangUpNotifier_, &QSocketNotifier::activated, this, &SerialLine::checkLineGone);
#endif
}

void SerialLine::checkLineGone() {
#ifdef Q_OS_UNIX
    if (!port_.isOpen() || !terminalGone(static_cast<int>(port_.handle())))
        return;
    shutDown();
    emit errorEvent(QSerialPort::ResourceError);
#endif
}

void SerialLine::write(const QByteArray &bytes) {
    if (!port_.isOpen()) {
        emit errorEvent(QSerialPort::NotOpenError);
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

void SerialLine::setDrainTimeout(int milliseconds) {
    drainTimer_.setInterval(milliseconds);
}

void SerialLine::readAvailable() {
    if (!port_.isOpen())
        return;
    checkErrorCounts(); // an error in this chunk is known before its answer lines are
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void SerialLine::handleError(QSerialPort::SerialPortError error) {
    if (opening_)
        return;
    switch (error) {
    // Qt 6 reports no framing errors: such a character arrives as a NUL byte, which the answer
    // collector drops. Modem-control requests a device cannot do are no error of the line.
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        // The device is gone (an unplugged USB modem); the port would report this in a
        // tight loop for as long as it stays open.
        shutDown();
        break;
    default:
        break;
    }
    port_.clearError();
    emit errorEvent(error);
}

void SerialLine::checkDrain() {
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
    emit errorEvent(QSerialPort::TimeoutError);
}

void SerialLine::setErrorCountReader(ErrorCountReader reader) {
    countReader_ = std::move(reader);
}

void SerialLine::checkErrorCounts() {
    if (!counts_ || !port_.isOpen())
        return;
    const std::optional<LineErrorCounts> now = countReader_(static_cast<int>(port_.handle()));
    if (!now) {
        checkLineGone(); // the counters fail with the device that is gone
        return;
    }
    const bool lost = charactersMayBeLost(*counts_, *now);
    counts_ = now;
    if (lost)
        emit errorEvent(QSerialPort::UnknownError); // the toolkit has no code for these errors
}

qint64 SerialLine::pendingOutput() const {
    qint64 pending = port_.bytesToWrite();
#ifdef Q_OS_UNIX
    int queued = 0;
    if (::ioctl(static_cast<int>(port_.handle()), TIOCOUTQ, &queued) == 0 && queued > 0)
        pending += queued;
#endif
    return pending;
}

} // namespace telmaris
