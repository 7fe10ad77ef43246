// How exactly PAUSE keeps its time: a run of "PAUSE 1" and of "PAUSE 5" against the modem
// simulator, the time from the PAUSE line being shown to the next line being shown, minus the
// seconds asked for. Prints "name value unit" lines (the mean and the largest of the rounds).

#include "ModemSimulator.h"
#include "QuietUi.h"
#include "runner/ScriptRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using namespace telmaris;

namespace {

// The error of one PAUSE of the given seconds, in milliseconds.
double pauseError(modemsim::ModemSimulator &modem, int seconds) {
    bench::QuietUi ui(QStringLiteral("PAUSE %1\r\nMODEM AT").arg(seconds));
    QElapsedTimer clock;
    clock.start();
    QList<double> selectedAtMs; // when each line was selected
    ui.onSelect = [&](int) { selectedAtMs << clock.nsecsElapsed() / 1.0e6; };
    ScriptRunner runner(ui, nullptr);
    PortMap ports;
    ports.setDevice(1, modem.slavePath());
    StartData settings;
    settings.comPort = 1;
    if (bench::runToEnd(runner, settings, ports) != RunOutcome::Success ||
        selectedAtMs.size() != 2) {
        QTextStream(stderr) << "the run did not succeed" << Qt::endl;
        std::exit(1);
    }
    return selectedAtMs[1] - selectedAtMs[0] - seconds * 1000.0;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    modemsim::ModemSimulator modem;
    if (!modem.start()) {
        QTextStream(stderr) << "no pseudo-terminal: " << modem.errorString() << Qt::endl;
        return 1;
    }
    QTextStream out(stdout);
    for (const auto &[seconds, rounds] : {std::pair{1, 5}, std::pair{5, 2}}) {
        double sum = 0;
        double largest = 0;
        for (int i = 0; i < rounds; ++i) {
            const double error = pauseError(modem, seconds);
            sum += error;
            largest = std::max(largest, std::abs(error));
        }
        out << "pause_" << seconds << "s_error_mean " << sum / rounds << " ms" << Qt::endl;
        out << "pause_" << seconds << "s_error_max " << largest << " ms" << Qt::endl;
    }
    return 0;
}
