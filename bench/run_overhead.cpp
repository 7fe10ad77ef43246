// What a run costs beyond its fixed waits, and what waiting costs: 1,000 MODEM lines against
// the modem simulator answering at once, a 10-second PAUSE, and 10 seconds on a silent modem.
// Prints "name value unit" lines.

#include "ModemSimulator.h"
#include "QuietUi.h"
#include "runner/ScriptRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <sys/resource.h>

using namespace telmaris;
using telmaris::bench::QuietUi;
using telmaris::modemsim::ModemOptions;
using telmaris::modemsim::ModemSimulator;

namespace {

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

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

void Print(const char *name, double value, const char *unit) {
    std::printf("%s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

void CommandOverhead() {
    constexpr int lines = 1000;
    QString script;
    for (int i = 0; i < lines; ++i)
        script += QStringLiteral("MODEM AT\r\n");
    Setup setup({}, script);
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = CpuMs();
    if (setup.go() != RunOutcome::Success)
        std::fprintf(stderr, "the run did not succeed\n");
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpuMs = CpuMs() - cpuBefore;
    const int commands = lines + 3;     // with reset, initialisation and closing reset
    const double fixedWaitsMs = 2000.0; // the pauses after reset and initialisation
    Print("run_1000_modem_lines_wall", wallMs, "ms");
    Print("run_1000_modem_lines_cpu", cpuMs, "ms");
    Print("per_command_overhead", (wallMs - fixedWaitsMs) / commands, "ms");
}

void WaitCost(const char *name, ModemOptions options, const QString &script) {
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
    const std::string base(name);
    Print((base + "_wall").c_str(), wallMs, "ms");
    Print((base + "_cpu").c_str(), cpuEnd - cpuStart, "ms");
    Print((base + "_cpu_share").c_str(), 100.0 * (cpuEnd - cpuStart) / wallMs, "%");
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    CommandOverhead();
    WaitCost("pause_10s", {}, QStringLiteral("PAUSE 10"));
    ModemOptions silent;
    silent.silent = true;
    WaitCost("silent_modem_10s", silent, QString());
    return 0;
}
