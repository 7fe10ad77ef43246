// On Windows a stop is asked for by console control events (Ctrl+C, Ctrl+Break, the console
// window closed; for a console program also logoff and shutdown) and, for every program, by the
// end of the session (WM_ENDSESSION after WM_QUERYENDSESSION). Both arrive on threads of their
// own: the console's handler on a thread the system starts, the session's end on a hidden
// window that a thread of this object keeps. Each passes the stop to the event loop, where a
// run hangs up, closes its port and logs its end. For the console closed, logoff and shutdown,
// Windows ends the process as soon as the handler returns, so the handler waits until the way
// out is done: this object's end, or the process's.

#include "shell/StopSignals.h"

#include "common/UserTexts.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace telmaris {

namespace {

// The stops that can arrive, numbered from 1: 0 means "none" to the caller.
enum Stop : int {
    ConsoleInterrupt = 1, // Ctrl+C
    ConsoleBreak,         // Ctrl+Break
    ConsoleClosed,        // the console window's close button
    Logoff,               // the user logs off (console programs)
    Shutdown,             // the system shuts down (console programs)
    SessionEnd,           // logoff or shutdown, told to the program's windows
};

constexpr wchar_t WindowClass[] = L"TelmarisSessionEnd";

std::atomic<StopSignals *> receiver{nullptr};
// Set when the way out is done; a handler that must hold the process waits for it.
HANDLE wayOutDone = nullptr;
HANDLE sessionThread = nullptr;
DWORD sessionThreadId = 0;

// From a thread of the system's or of this file's: the stop reaches the object on its thread.
void deliver(int stop) {
    StopSignals *target = receiver.load();
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target, [target, stop] { Q_EMIT target->received(stop); }, Qt::QueuedConnection);
}

void holdUntilWayOut() {
    if (wayOutDone)
        WaitForSingleObject(wayOutDone, INFINITE);
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        deliver(ConsoleInterrupt);
        return TRUE; // the process goes on, to its way out
    case CTRL_BREAK_EVENT:
        deliver(ConsoleBreak);
        return TRUE;
    case CTRL_CLOSE_EVENT:
        deliver(ConsoleClosed);
        break;
    case CTRL_LOGOFF_EVENT:
        deliver(Logoff);
        break;
    case CTRL_SHUTDOWN_EVENT:
        deliver(Shutdown);
        break;
    default:
        return FALSE;
    }
    holdUntilWayOut();
    return TRUE;
}

LRESULT CALLBACK sessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE; // the run is stopped when the session really ends
    case WM_ENDSESSION:
        if (wParam) {
            deliver(SessionEnd);
            holdUntilWayOut();
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The toolkit's own windows also hear of the session's end, and would leave the event loop at
// once, before a run has hung up: the stop is this file's to handle.
class SessionEndFilter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override {
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_QUERYENDSESSION && msg->message != WM_ENDSESSION)
            return false;
        *result = msg->message == WM_QUERYENDSESSION ? TRUE : 0;
        return true;
    }
};

SessionEndFilter sessionEndFilter;

// The thread of the hidden top-level window that hears of the session's end. (A message-only
// window would not: the session's end is told to top-level windows only.)
DWORD WINAPI keepSessionWindow(LPVOID ready) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = sessionWindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = WindowClass;
    RegisterClassW(&windowClass);
    CreateWindowExW(0, WindowClass, L"Telmaris", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                    module, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent) {
    wayOutDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    receiver.store(this);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installNativeEventFilter(&sessionEndFilter);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    sessionThread = CreateThread(nullptr, 0, keepSessionWindow, ready, 0, &sessionThreadId);
    // Its window exists before the first stop can be asked for.
    if (sessionThread)
        WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

StopSignals::~StopSignals() {
    receiver.store(nullptr);
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeNativeEventFilter(&sessionEndFilter);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    // A handler held in its event is let go: Windows ends the process right after.
    SetEvent(wayOutDone);
    if (sessionThread) {
        PostThreadMessageW(sessionThreadId, WM_QUIT, 0, 0);
        WaitForSingleObject(sessionThread, INFINITE);
        CloseHandle(sessionThread);
        sessionThread = nullptr;
    }
}

void StopSignals::readPipe() {}

QString StopSignals::usageLine() {
    return texts::UsageStopStatusWindows;
}

QString StopSignals::name(int signal) {
    switch (signal) {
    case ConsoleInterrupt:
        return QStringLiteral("CTRL_C_EVENT");
    case ConsoleBreak:
        return QStringLiteral("CTRL_BREAK_EVENT");
    case ConsoleClosed:
        return QStringLiteral("CTRL_CLOSE_EVENT");
    case Logoff:
        return QStringLiteral("CTRL_LOGOFF_EVENT");
    case Shutdown:
        return QStringLiteral("CTRL_SHUTDOWN_EVENT");
    case SessionEnd:
        return QStringLiteral("WM_ENDSESSION");
    default:
        return QString::number(signal);
    }
}

void StopSignals::endBy(int) {
    // The status Windows gives a console program that Ctrl+C ends, for every stop: cmd and a
    // scheduled task see that the run did not end by itself.
    std::fflush(nullptr);
    SetEvent(wayOutDone);
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

} // namespace telmaris
