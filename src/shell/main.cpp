// Telmaris: programs a small telephone system through a modem on a serial port.
#include "shell/ConsoleDialogs.h"
#include "shell/MainWindow.h"
#include "shell/MessageDialogs.h"
#include "shell/ProcessStart.h"
#include "shell/StartUp.h"
#include "shell/StopSignals.h"
#include "shell/ToolkitTranslation.h"

#include <QApplication>
#include <optional>

int main(int argc, char *argv[]) {
    const QString argument = telmaris::beginProcess(argc, argv);
    // The program's folder, where the settings file lies, is known to an application object
    // only; --list makes one of its own, with no window system behind it.
    const telmaris::StartPlan plan = telmaris::planStart(argument, [&argc, argv] {
        const QCoreApplication core(argc, argv);
        return QCoreApplication::applicationDirPath();
    });
    if (plan.exitStatus)
        return *plan.exitStatus;
    // The system's list of serial devices is read while the window is built.
    const telmaris::DeviceDetector detector = telmaris::detectSerialDevicesAhead();
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TELMARIS_APP_ID));
    // The missing texts only show on the buttons of boxes: an unattended run, whose boxes are
    // lines, does not mention them.
    telmaris::loadGermanToolkitTexts(app, plan.display);
    telmaris::MessageDialogs boxes;
    telmaris::ConsoleDialogs lines;
    // Without a display every box becomes a line on standard error.
    telmaris::Dialogs &dialogs = plan.display ? static_cast<telmaris::Dialogs &>(boxes)
                                              : static_cast<telmaris::Dialogs &>(lines);
    // Made before the window and gone after it: on Windows its end lets the process go.
    telmaris::StopSignals stopSignals;
    // Held so that it can go before the process ends by a signal.
    std::optional<telmaris::MainWindow> held;
    telmaris::MainWindow &window = held.emplace(QCoreApplication::applicationDirPath(), dialogs);
    boxes.setParent(&window);
    window.setDeviceDetector(detector);
    // A stop asked for by a signal reaches the window on the event loop: a run hangs up first.
    int stopSignal = 0;
    QObject::connect(&stopSignals, &telmaris::StopSignals::received, &window, [&](int signal) {
        stopSignal = signal;
        window.stopForSignal(telmaris::StopSignals::name(signal));
    });
    // The end of an AutoMode run, an unknown parameter or a missing port end the process
    // without the close request: the settings file stays as it was.
    QObject::connect(
        &window, &telmaris::MainWindow::exitRequested, &app,
        [](int exitStatus) { QCoreApplication::exit(exitStatus); }, Qt::QueuedConnection);
    if (const std::optional<int> exitStatus = window.init(argument, plan.display))
        return *exitStatus;
    const int exitStatus = QApplication::exec();
    // An unattended run stopped by a signal ends by that signal, for the shell or systemd,
    // once the window is gone: a probe still running has let go of the ports and their locks.
    if (stopSignal != 0 && window.unattended()) {
        held.reset();
        telmaris::StopSignals::endBy(stopSignal);
    }
    return exitStatus;
}
