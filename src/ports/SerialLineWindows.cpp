// The serial line on Windows: a COM port opened for overlapped I/O. WaitCommEvent tells of
// received characters and line errors, ClearCommError says which errors, and the completion of
// each operation arrives through its event in the window's event loop, so no thread waits.
// A driver that cannot wait for events, and every port under Wine, is asked at a short interval
// instead.

#include "ports/CommErrors.h"
#include "ports/SerialLinePort.h"

#include "ports/PortDiagnosis.h"

#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

namespace telmaris {

std::optional<LineError> lineErrorOfCommErrors(unsigned long errors) {
    // A framing error ends nothing, as on the other platforms: such a character arrives as a
    // NUL byte, which the answer collector drops.
    if ((errors & (CE_OVERRUN | CE_RXOVER | CE_BREAK | CE_RXPARITY)) != 0)
        return LineError::Failed;
    return std::nullopt;
}

namespace {

// The system's own words for a Windows error code.
QString systemMessage(DWORD error) {
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                             : QStringLiteral("Fehler %1").arg(error);
    LocalFree(text);
    return message;
}

// Whether a pending wait for the port's events ends when it is cancelled. Under Wine it does not
// on a real serial port (nor for a new event mask or a purge), and the close would wait for it
// for ever: there the port is asked at intervals from the start.
bool eventWaitsEnd() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

// A COM port is opened by one program at a time: another one holding it shows as access denied.
OpenFailure openFailureOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEVICE_NOT_CONNECTED:
        return OpenFailure::NotThere;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return OpenFailure::Held;
    default:
        return OpenFailure::Other;
    }
}

// One overlapped operation: its OVERLAPPED record, the event that signals its completion and
// a notifier that hands that completion to the event loop.
struct Operation {
    Operation() {
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        notifier.setHandle(overlapped.hEvent);
    }
    ~Operation() { CloseHandle(overlapped.hEvent); }
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    // Makes ready for the next start: the event is not signalled, the record is clear.
    void reset() {
        ResetEvent(overlapped.hEvent);
        const HANDLE event = overlapped.hEvent;
        overlapped = {};
        overlapped.hEvent = event;
    }

    // Takes the completion that the notifier reported: false when none was awaited (a stale
    // signal after a close), or the port is closed.
    bool finish(bool portOpen) {
        notifier.setEnabled(false);
        if (!pending || !portOpen)
            return false;
        pending = false;
        return true;
    }

    OVERLAPPED overlapped = {};
    QWinEventNotifier notifier;
    bool pending = false;
};

// How often a driver that cannot wait for events is asked for received bytes and errors.
constexpr int PollIntervalMs = 20;

class WindowsPort final : public SerialLine::Port {
public:
    explicit WindowsPort(SerialLine &line);
    ~WindowsPort() override { CloseHandle(readEvent_); }

    bool open(const QString &device, int baud, bool hardwareFlowControl, QString *error) override;
    void close() override;
    void write(const QByteArray &bytes) override;
    void setDrainTimeout(int milliseconds) override { drainTimer_.setInterval(milliseconds); }
    // ClearCommError tells of the errors the driver's counters tell elsewhere.
    void setErrorCountReader(ErrorCountReader) override {}

private:
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool configure(int baud, bool hardwareFlowControl);
    void waitForEvent();
    void eventArrived();
    void read(DWORD queued);
    void startWrite();
    void writeDone();
    void checkDrain();
    // Reports line errors and hands on received bytes; the port may be gone afterwards.
    void poll();
    void gone();
    void shutDown();

    SerialLine &line_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    Operation event_;
    DWORD eventMask_ = 0;
    Operation write_;
    HANDLE readEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    QByteArray writing_; // the bytes of the pending write; they must live until it completes
    QByteArray queued_;  // bytes written while a write was pending
    DWORD outQueueAtLastCheck_ = 0; // bytes in the driver's output queue
    QTimer drainTimer_;
    QTimer pollTimer_; // runs only for a driver that cannot wait for events
};

WindowsPort::WindowsPort(SerialLine &line) : line_(line) {
    drainTimer_.setInterval(SerialLine::DefaultDrainTimeoutMs);
    pollTimer_.setInterval(PollIntervalMs);
    QObject::connect(&pollTimer_, &QTimer::timeout, &line_, [this] { poll(); });
    QObject::connect(&drainTimer_, &QTimer::timeout, &line_, [this] { checkDrain(); });
    QObject::connect(&event_.notifier, &QWinEventNotifier::activated, &line_,
                     [this] { eventArrived(); });
    QObject::connect(&write_.notifier, &QWinEventNotifier::activated, &line_,
                     [this] { writeDone(); });
}

bool WindowsPort::open(const QString &device, int baud, bool hardwareFlowControl, QString *error) {
    const auto fail = [&](DWORD reason) {
        if (error)
            *error = diagnoseOpenFailure(device, openFailureOf(reason), systemMessage(reason));
        return false;
    };
    close();
    if (device.isEmpty()) {
        if (error)
            *error = diagnosePort(device, QString());
        return false;
    }
    // COM10 and above are reachable only through the device namespace, which serves every
    // port name; a path (\\.\COM12 among them) is taken as it stands.
    const bool portName =
        !device.contains(u'\\') && !device.contains(u'/') && !device.contains(u':');
    const QString path = portName ? QStringLiteral("\\\\.\\") + device : device;
    handle_ =
        CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                    0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (!isOpen())
        return fail(GetLastError());
    if (!configure(baud, hardwareFlowControl)) {
        const DWORD reason = GetLastError();
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return fail(reason);
    }
    DWORD errors = 0;
    ClearCommError(handle_, &errors, nullptr); // what happened before the port was ours
    if (eventWaitsEnd())
        waitForEvent();
    else
        pollTimer_.start();
    return isOpen();
}

bool WindowsPort::configure(int baud, bool hardwareFlowControl) {
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb))
        return false;
    dcb.BaudRate = DWORD(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = hardwareFlowControl;
    dcb.fRtsControl = hardwareFlowControl ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    // An error must not stop the port's reading and writing until it is cleared: the errors
    // are looked at after each event instead.
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(handle_, &dcb))
        return false;
    // A read returns at once with what has arrived; a write has no time limit of its own (the
    // drain timer judges its progress).
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 0, 0};
    return SetCommTimeouts(handle_, &timeouts) &&
           SetCommMask(handle_, EV_RXCHAR | EV_ERR | EV_BREAK);
}

void WindowsPort::waitForEvent() {
    event_.reset();
    eventMask_ = 0;
    if (!WaitCommEvent(handle_, &eventMask_, &event_.overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        gone();
        return;
    }
    // Done at once or later: either way the event is signalled and the notifier reports it.
    event_.pending = true;
    event_.notifier.setEnabled(true);
}

void WindowsPort::eventArrived() {
    if (!event_.finish(isOpen()))
        return;
    DWORD unused = 0;
    // A failed wait means the device vanished (an unplugged USB modem), and then the port's
    // state cannot be read either; or the driver cannot wait for events, and the port is asked
    // at intervals from now on.
    const bool waited = GetOverlappedResult(handle_, &event_.overlapped, &unused, FALSE);
    poll();
    // A receiver of the bytes may have closed the line, or opened it anew.
    if (!isOpen() || event_.pending || pollTimer_.isActive())
        return;
    if (waited)
        waitForEvent();
    else
        pollTimer_.start();
}

void WindowsPort::poll() {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handle_, &errors, &status)) {
        gone();
        return;
    }
    if (const std::optional<LineError> error = lineErrorOfCommErrors(errors)) {
        emit line_.errorEvent(*error);
        if (!isOpen())
            return;
    }
    if (status.cbInQue > 0)
        read(status.cbInQue);
}

// Reads what the driver holds: a read of more may wait for further bytes.
void WindowsPort::read(DWORD queued) {
    QByteArray bytes(qsizetype(queued), Qt::Uninitialized);
    OVERLAPPED overlapped = {};
    overlapped.hEvent = readEvent_;
    DWORD count = 0;
    if ((!ReadFile(handle_, bytes.data(), queued, nullptr, &overlapped) &&
         GetLastError() != ERROR_IO_PENDING) ||
        !GetOverlappedResult(handle_, &overlapped, &count, TRUE)) {
        gone();
        return;
    }
    bytes.truncate(qsizetype(count));
    if (!bytes.isEmpty())
        emit line_.received(bytes);
}

void WindowsPort::write(const QByteArray &bytes) {
    if (!isOpen()) {
        emit line_.errorEvent(LineError::Gone);
        return;
    }
    queued_ += bytes;
    if (!write_.pending)
        startWrite();
}

void WindowsPort::startWrite() {
    writing_ = std::exchange(queued_, QByteArray());
    write_.reset();
    if (!WriteFile(handle_, writing_.constData(), DWORD(writing_.size()), nullptr,
                   &write_.overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        gone();
        return;
    }
    write_.pending = true;
    write_.notifier.setEnabled(true);
    if (!drainTimer_.isActive()) {
        outQueueAtLastCheck_ = DWORD(writing_.size());
        drainTimer_.start();
    }
}

void WindowsPort::writeDone() {
    if (!write_.finish(isOpen()))
        return;
    DWORD written = 0;
    if (!GetOverlappedResult(handle_, &write_.overlapped, &written, FALSE)) {
        gone();
        return;
    }
    writing_.clear();
    if (!queued_.isEmpty())
        startWrite();
    else
        drainTimer_.stop();
}

void WindowsPort::checkDrain() {
    if (!write_.pending) {
        drainTimer_.stop();
        return;
    }
    COMSTAT status = {};
    DWORD errors = 0;
    if (!ClearCommError(handle_, &errors, &status)) {
        gone();
        return;
    }
    if (status.cbOutQue != 0 && status.cbOutQue < outQueueAtLastCheck_) {
        outQueueAtLastCheck_ = status.cbOutQue; // slow, but moving
        return;
    }
    drainTimer_.stop();
    emit line_.errorEvent(LineError::OutputStuck);
}

void WindowsPort::gone() {
    shutDown();
    emit line_.errorEvent(LineError::Gone);
}

void WindowsPort::close() {
    // Whatever is still to go out (a hang-up after an abort) gets a short while to leave: the
    // driver would drop it with the handle. Nothing is reported from here.
    constexpr DWORD FinalWriteMs = 1000;
    const auto finished = [this] {
        return WaitForSingleObject(write_.overlapped.hEvent, FinalWriteMs) == WAIT_OBJECT_0;
    };
    if (isOpen() && (!write_.pending || finished()) && !queued_.isEmpty()) {
        write_.notifier.setEnabled(false);
        writing_ = std::exchange(queued_, QByteArray());
        write_.reset();
        write_.pending = WriteFile(handle_, writing_.constData(), DWORD(writing_.size()), nullptr,
                                   &write_.overlapped) ||
                         GetLastError() == ERROR_IO_PENDING;
        if (write_.pending)
            finished();
    }
    shutDown();
}

void WindowsPort::shutDown() {
    drainTimer_.stop();
    pollTimer_.stop();
    event_.notifier.setEnabled(false);
    write_.notifier.setEnabled(false);
    if (isOpen()) {
        // The records and the buffer of a pending operation must outlive it: cancel, then wait
        // for the cancellation to complete.
        CancelIoEx(handle_, nullptr);
        DWORD unused = 0;
        for (Operation *operation : {&event_, &write_})
            if (operation->pending)
                GetOverlappedResult(handle_, &operation->overlapped, &unused, TRUE);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    event_.pending = false;
    write_.pending = false;
    writing_.clear();
    queued_.clear();
}

} // namespace

std::unique_ptr<SerialLine::Port> makeSerialLinePort(SerialLine &line) {
    return std::make_unique<WindowsPort>(line);
}

} // namespace telmaris
