// What a run costs. The whole program: the real main window, offscreen, runs scripts of 300 and
// 3,000 MODEM lines when its first button is pressed, against the modem simulator program as a
// separate process; the CPU time of this process (the window's) per line, and how it grows with
// the length of the script. The runner alone: 1,000 MODEM lines with a stand-in window and the
// simulator in the same process, and what its waits cost (a 10-second PAUSE, 10 seconds on a
// silent modem), and how long and at what cost a run goes on once the line vanished while it
// waited for an answer. Prints "name value unit" lines.

#include "ModemSimulator.h"
#include "ProgramFolder.h"
#include "QuietUi.h"
#include "runner/ScriptRunner.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace telmaris;
using telmaris::bench::cpuMs;
using telmaris::bench::QuietUi;
using telmaris::modemsim::ModemOptions;
using telmaris::modemsim::ModemSimulator;

namespace {

void print(const std::string &name, double value, const char *unit) {
    std::printf("%s %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

QString modemLines(int lines) {
    QString script;
    for (int i = 0; i < lines; ++i)
        script += QStringLiteral("MODEM AT\r\n");
    return script;
}

// ---------------------------------------------------------------------------------------
// The whole program

// Starts the window and waits until its start-up is complete (the ports probed).
bool startWindow(MainWindow &window) {
    QEventLoop loop;
    bool up = false;
    QObject::connect(&window, &MainWindow::startedUp, &loop, [&] {
        up = true;
        loop.quit();
    });
    QObject::connect(&window, &MainWindow::exitRequested, &loop, &QEventLoop::quit);
    if (window.init(QString()))
        return false;
    loop.exec();
    return up;
}

// A program folder whose slot 1 holds a script of MODEM lines, and the main window on it.
class ProgramWindow {
public:
    ProgramWindow(const QString &modemLink, int lines) {
        QByteArray ini = "[Data]\nComPort=1\nModemSpeed=9\nCurrSkript=1\nSkriptText1=";
        ini += modemLines(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\\N\\L")).toUtf8();
        ini += "\n" + bench::portsSection(modemLink, folder_.path());
        if (!bench::writeFile(folder_.filePath(QStringLiteral("Telmaris.Ini")), ini) ||
            !startWindow(window_))
            std::exit(1);
    }

    // The CPU time of this process for one run started with the window's first button.
    double runCpuMs() {
        QEventLoop loop;
        QObject::connect(&window_, &MainWindow::runEnded, &loop, &QEventLoop::quit);
        const double before = cpuMs();
        window_.findChild<QPushButton *>(QStringLiteral("programButton"))->click();
        loop.exec();
        return cpuMs() - before;
    }

private:
    QTemporaryDir folder_;
    bench::SilentDialogs dialogs_;
    MainWindow window_{folder_.path(), dialogs_};
};

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void windowRuns() {
    QTemporaryDir modemFolder;
    const bench::SimulatorProcess modem(modemFolder.filePath(QStringLiteral("modem")));
    // The empty script: port, reset, initialisation, closing reset, and the two pauses.
    const int lengths[3] = {0, 300, 3000};
    ProgramWindow empty(modem.linkPath(), lengths[0]);
    ProgramWindow shorter(modem.linkPath(), lengths[1]);
    ProgramWindow longer(modem.linkPath(), lengths[2]);
    ProgramWindow *windows[3] = {&empty, &shorter, &longer};
    QList<double> cpu[3];
    for (int round = 0; round < 5; ++round) // alternated, so all see the same machine load
        for (int i = 0; i < 3; ++i)
            cpu[i] << windows[i]->runCpuMs();
    const double fixedMs = median(cpu[0]);
    print("window_run_empty_script_cpu", fixedMs, "ms");
    double perLine[3] = {};
    for (int i = 1; i < 3; ++i) {
        const double runMs = median(cpu[i]);
        perLine[i] = (runMs - fixedMs) / lengths[i];
        const std::string base = "window_run_" + std::to_string(lengths[i]) + "_modem_lines";
        print(base + "_cpu", runMs, "ms");
        print(base + "_cpu_per_line", perLine[i], "ms");
    }
    print("window_run_cpu_per_line_3000_to_300", perLine[2] / perLine[1], "ratio");
}

// ---------------------------------------------------------------------------------------
// The runner alone

struct Setup {
    explicit Setup(ModemOptions options, const QString &script)
        : modem(options), ui(script), runner(ui, nullptr) {
        if (!modem.start()) {
            std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(modem.errorString()));
            std::exit(1);
        }
        ports.setDevice(1, modem.slavePath());
        settings.comPort = 1;
        settings.modemSpeed = 9; // 28800 baud
    }
    RunOutcome go() { return bench::runToEnd(runner, settings, ports); }

    ModemSimulator modem;
    QuietUi ui;
    ScriptRunner runner;
    StartData settings;
    PortMap ports;
};

void runnerCommandOverhead() {
    constexpr int lines = 1000;
    Setup setup({}, modemLines(lines));
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuMs();
    if (setup.go() != RunOutcome::Success)
        std::fprintf(stderr, "the run did not succeed\n");
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpuUsedMs = cpuMs() - cpuBefore;
    const int commands = lines + 3;     // with reset, initialisation and closing reset
    const double fixedWaitsMs = 2000.0; // the pauses after reset and initialisation
    print("runner_alone_1000_modem_lines_wall", wallMs, "ms");
    print("runner_alone_1000_modem_lines_cpu", cpuUsedMs, "ms");
    print("runner_alone_per_command_overhead", (wallMs - fixedWaitsMs) / commands, "ms");
}

void runnerWaitCost(const char *name, ModemOptions options, const QString &script) {
    Setup setup(options, script);
    QElapsedTimer clock;
    double cpuStart = 0;
    double cpuEnd = 0;
    double wallMs = 0;
    const auto begin = [&] {
        cpuStart = cpuMs();
        clock.start();
    };
    const auto end = [&] {
        if (cpuEnd == 0) {
            cpuEnd = cpuMs();
            wallMs = clock.nsecsElapsed() / 1e6;
        }
    };
    if (options.silent) {
        // The run waits for the answer to its first command; the user aborts after 10 s.
        setup.ui.onStatus = [&](const QString &text) {
            if (text == QLatin1String("Modem-Reset") && !clock.isValid()) {
                begin();
                QTimer::singleShot(10000, Qt::PreciseTimer, [&] {
                    end();
                    setup.runner.requestAbort();
                });
            }
        };
    } else {
        setup.ui.onSelect = [&](int) { begin(); }; // the PAUSE line
        setup.ui.onStatus = [&](const QString &text) {
            if (text == QLatin1String("Modem-Reset") && clock.isValid())
                end();
        };
    }
    setup.go();
    const std::string base = std::string("runner_alone_") + name;
    print(base + "_wall", wallMs, "ms");
    print(base + "_cpu", cpuEnd - cpuStart, "ms");
    print(base + "_cpu_share", 100.0 * (cpuEnd - cpuStart) / wallMs, "%");
}

// The silent modem's line vanishes while the run waits for the first answer; the run should
// end at once and idle meanwhile. One that does not is aborted after 10 s.
void runnerLineGoneCost() {
    ModemOptions silent;
    silent.silent = true;
    Setup setup(silent, QString());
    QElapsedTimer clock;
    double cpuStart = 0;
    QTimer abort;
    abort.setSingleShot(true);
    QObject::connect(&abort, &QTimer::timeout, [&] { setup.runner.requestAbort(); });
    QObject::connect(&setup.modem, &ModemSimulator::commandReceived, [&] {
        QTimer::singleShot(0, &setup.modem, [&] {
            cpuStart = cpuMs();
            clock.start();
            setup.modem.dropLine();
            abort.start(10000);
        });
    });
    const RunOutcome outcome = setup.go();
    const double cpuUsedMs = cpuMs() - cpuStart;
    const double wallMs = clock.nsecsElapsed() / 1e6;
    if (outcome != RunOutcome::LineLost)
        std::fprintf(stderr, "the run did not end as a lost line\n");
    print("runner_alone_line_gone_to_end_wall", wallMs, "ms");
    print("runner_alone_line_gone_to_end_cpu", cpuUsedMs, "ms");
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // "--window-lines N": only the window's runs of N lines, for a profiler to watch.
    if (app.arguments().value(1) == QStringLiteral("--window-lines")) {
        QTemporaryDir modemFolder;
        const bench::SimulatorProcess modem(modemFolder.filePath(QStringLiteral("modem")));
        ProgramWindow window(modem.linkPath(), app.arguments().value(2).toInt());
        print("window_run_cpu", window.runCpuMs(), "ms");
        return 0;
    }
    // "--line-gone": only the run whose line vanishes.
    if (app.arguments().value(1) == QStringLiteral("--line-gone")) {
        runnerLineGoneCost();
        return 0;
    }
    windowRuns();
    runnerCommandOverhead();
    runnerWaitCost("pause_10s", {}, QStringLiteral("PAUSE 10"));
    ModemOptions silent;
    silent.silent = true;
    runnerWaitCost("silent_modem_10s", silent, QString());
    runnerLineGoneCost();
    return 0;
}
