// Telmaris: programs a small telephone system through a modem on a serial port.
#include "shell/MainWindow.h"
#include "shell/MessageDialogs.h"
#include "shell/ProcessStart.h"
#include "shell/ToolkitTranslation.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    const QString argument = telmaris::BeginProcess(argc, argv);
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TELMARIS_APP_ID));
    telmaris::LoadGermanToolkitTexts(app);
    telmaris::MessageDialogs dialogs;
    telmaris::MainWindow window(QCoreApplication::applicationDirPath(), dialogs);
    dialogs.setParent(&window);
    // An AutoMode run, an unknown parameter or a missing port end the process at once,
    // without the close request: the settings file stays as it was.
    if (const std::optional<int> exitStatus = window.Init(argument))
        return *exitStatus;
    return app.exec();
}
