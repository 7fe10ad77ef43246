// What a run costs. The whole program: the real main window, offscreen, runs scripts of 300 and
// 3,000 MODEM lines when its first button is pressed, against the modem simulator program as a
// separate process; the CPU time of this process (the window's) per line, and how it grows with
// the length of the script. The runner alone: 1,000 MODEM lines with a stand-in window and the
// simulator in the same process, and what its waits cost (a 10-second PAUSE, 10 seconds on a
// silent modem). Prints "name value unit" lines.

#include "ModemSimulator.h"
#include "ProgramFolder.h"
#include "QuietUi.h"
#include "runner/ScriptRunner.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace telmaris;
using telmaris::bench::CpuMs;
using telmaris::bench::QuietUi;
using telmaris::modemsim::ModemOptions;
using telmaris::modemsim::ModemSimulator;

namespace {

void Print(const std::string &name, double value, const char *unit) {
    std::printf("%s %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

QString ModemLines(int lines) {
    QString script;
    for (int i = 0; i < lines; ++i)
        script += QStringLiteral("MODEM AT\r\n");
    return script;
}

// ---------------------------------------------------------------------------------------
// The whole program

// A program folder whose slot 1 holds a script of MODEM lines, and the main window on it.
class ProgramWindow {
public:
    ProgramWindow(const QString &modemLink, int lines) {
        QByteArray ini = "[Data]\nComPort=1\nModemSpeed=9\nCurrSkript=1\nSkriptText1=";
        ini += ModemLines(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\\N\\L")).toUtf8();
        ini += "\n" + bench::PortsSection(modemLink, folder_.path());
        if (!bench::WriteFile(folder_.filePath(QStringLiteral("Telmaris.Ini")), ini) ||
            window_.Init(QString()))
            std::exit(1);
    }

    // The CPU time of this process for one run started with the window's first button.
    double RunCpuMs() {
        const double before = CpuMs();
        window_.findChild<QPushButton *>(QStringLiteral("programButton"))->click();
        return CpuMs() - before;
    }

private:
    QTemporaryDir folder_;
    bench::SilentDialogs dialogs_;
    MainWindow window_{folder_.path(), dialogs_};
};

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void WindowRuns() {
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
            cpu[i] << windows[i]->RunCpuMs();
    const double fixedMs = Median(cpu[0]);
    Print("window_run_empty_script_cpu", fixedMs, "ms");
    double perLine[3] = {};
    for (int i = 1; i < 3; ++i) {
        const double runMs = Median(cpu[i]);
        perLine[i] = (runMs - fixedMs) / lengths[i];
        const std::string base = "window_run_" + std::to_string(lengths[i]) + "_modem_lines";
        Print(base + "_cpu", runMs, "ms");
        Print(base + "_cpu_per_line", perLine[i], "ms");
    }
    Print("window_run_cpu_per_line_3000_to_300", perLine[2] / perLine[1], "ratio");
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
        settings.ComPort = 1;
        settings.ModemSpeed = 9; // 28800 baud
    }
    RunOutcome go() { return runner.SendSkript(settings, ports, QStringLiteral("Bench"), true); }

    ModemSimulator modem;
    QuietUi ui;
    ScriptRunner runner;
    StartData settings;
    PortMap ports;
};

void RunnerCommandOverhead() {
    constexpr int lines = 1000;
    Setup setup({}, ModemLines(lines));
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = CpuMs();
    if (setup.go() != RunOutcome::Success)
        std::fprintf(stderr, "the run did not succeed\n");
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpuMs = CpuMs() - cpuBefore;
    const int commands = lines + 3;     // with reset, initialisation and closing reset
    const double fixedWaitsMs = 2000.0; // the pauses after reset and initialisation
    Print("runner_alone_1000_modem_lines_wall", wallMs, "ms");
    Print("runner_alone_1000_modem_lines_cpu", cpuMs, "ms");
    Print("runner_alone_per_command_overhead", (wallMs - fixedWaitsMs) / commands, "ms");
}

void RunnerWaitCost(const char *name, ModemOptions options, const QString &script) {
    Setup setup(options, script);
    QElapsedTimer clock;
    double cpuStart = 0;
    double cpuEnd = 0;
    double wallMs = 0;
    const auto begin = [&] {
        cpuStart = CpuMs();
        clock.start();
    };
    const auto end = [&] {
        if (cpuEnd == 0) {
            cpuEnd = CpuMs();
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
                    setup.runner.RequestAbort();
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
    Print(base + "_wall", wallMs, "ms");
    Print(base + "_cpu", cpuEnd - cpuStart, "ms");
    Print(base + "_cpu_share", 100.0 * (cpuEnd - cpuStart) / wallMs, "%");
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
        Print("window_run_cpu", window.RunCpuMs(), "ms");
        return 0;
    }
    WindowRuns();
    RunnerCommandOverhead();
    RunnerWaitCost("pause_10s", {}, QStringLiteral("PAUSE 10"));
    ModemOptions silent;
    silent.silent = true;
    RunnerWaitCost("silent_modem_10s", silent, QString());
    return 0;
}
