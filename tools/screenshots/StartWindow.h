#pragma once
// Starts the main window and waits until its start-up is complete (the ports probed), as the
// pictures show the window with its ports known.

#include "shell/MainWindow.h"

#include <QEventLoop>

inline bool startWindow(telmaris::MainWindow &window) {
    QEventLoop loop;
    bool up = false;
    QObject::connect(&window, &telmaris::MainWindow::startedUp, &loop, [&] {
        up = true;
        loop.quit();
    });
    QObject::connect(&window, &telmaris::MainWindow::exitRequested, &loop, &QEventLoop::quit);
    if (window.init(QString()))
        return false;
    loop.exec();
    return up;
}
