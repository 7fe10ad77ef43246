// How exactly PAUSE keeps its time: a run of "PAUSE 1" and of "PAUSE 5" against the modem
// simulator, the time from the PAUSE line being shown to the next line being shown, minus the
// seconds asked for. Prints "name value unit" lines (the mean and the largest of the rounds).

#include "ModemSimulator.h"
#include "runner/RunnerUi.h"
#include "runner/ScriptRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using namespace telmaris;

namespace {

// A window that shows nothing; it notes when each line is selected.
class LineClockUi : public RunnerUi {
public:
    explicit LineClockUi(QString text) : text_(std::move(text)) { clock_.start(); }
    QList<double> selectedAtMs;

    void Status(const QString &) override {}
    void ShowMessage(MessageIcon, const QString &, const QString &) override {}
    QString InputBox(const QString &, const QString &) override { return {}; }
    void Beep() override {}
    QString EditorText() const override { return text_; }
    void SetEditorLocked(bool) override {}
    void SelectEditorRange(int start, int length) override {
        selectedAtMs << clock_.nsecsElapsed() / 1.0e6;
        start_ = start;
        length_ = length;
    }
    QString SelectedEditorText() const override { return text_.mid(start_, length_); }
    int EditorCaret() const override { return 0; }
    void SetEditorCaret(int) override {}
    void FocusEditor() override {}
    void SetRunState(bool) override {}

private:
    QString text_;
    QElapsedTimer clock_;
    int start_ = 0;
    int length_ = 0;
};

// The error of one PAUSE of the given seconds, in milliseconds.
double PauseError(modemsim::ModemSimulator &modem, int seconds) {
    LineClockUi ui(QStringLiteral("PAUSE %1\r\nMODEM AT").arg(seconds));
    ScriptRunner runner(ui, nullptr);
    PortMap ports;
    ports.setDevice(1, modem.slavePath());
    StartData settings;
    settings.ComPort = 1;
    if (runner.SendSkript(settings, ports, QStringLiteral("Bench"), true) != RunOutcome::Success ||
        ui.selectedAtMs.size() != 2) {
        QTextStream(stderr) << "the run did not succeed" << Qt::endl;
        std::exit(1);
    }
    return ui.selectedAtMs[1] - ui.selectedAtMs[0] - seconds * 1000.0;
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
            const double error = PauseError(modem, seconds);
            sum += error;
            largest = std::max(largest, std::abs(error));
        }
        out << "pause_" << seconds << "s_error_mean " << sum / rounds << " ms" << Qt::endl;
        out << "pause_" << seconds << "s_error_max " << largest << " ms" << Qt::endl;
    }
    return 0;
}
