#pragma once
// A window for benchmarks that shows nothing: it holds the script text, answers no box, and
// lets a benchmark watch the status texts and the lines as the run selects them.

#include "runner/RunnerUi.h"
#include "runner/ScriptRunner.h"

#include <QEventLoop>
#include <functional>

namespace telmaris::bench {

class QuietUi : public RunnerUi {
public:
    explicit QuietUi(QString text) : text_(std::move(text)) {}
    std::function<void(const QString &)> onStatus;
    std::function<void(int start)> onSelect;

    void status(const QString &text) override {
        if (onStatus)
            onStatus(text);
    }
    void showMessage(MessageIcon, const QString &, const QString &) override {}
    void openMessage(MessageIcon, const QString &, const QString &,
                     std::function<void()> closed) override {
        closed();
    }
    void openInput(const QString &, const QString &,
                   std::function<void(const std::optional<QString> &)> answered) override {
        answered(QString());
    }
    void closeBox() override {}
    void beep() override {}
    QString editorText() const override { return text_; }
    void setEditorLocked(bool) override {}
    void selectEditorRange(int start, int) override {
        if (onSelect)
            onSelect(start);
    }
    int editorCaret() const override { return 0; }
    void setEditorCaret(int) override {}
    void focusEditor() override {}
    void setRunState(bool) override {}

private:
    QString text_;
};

// Runs the script in AutoMode and returns when the run is over.
inline RunOutcome runToEnd(ScriptRunner &runner, const StartData &settings, const PortMap &ports) {
    QEventLoop loop;
    RunOutcome outcome = RunOutcome::Success;
    QObject::connect(&runner, &ScriptRunner::finished, &loop, [&](RunOutcome ended) {
        outcome = ended;
        loop.quit();
    });
    runner.start(settings, ports, QStringLiteral("Bench"), true);
    if (runner.running())
        loop.exec();
    return outcome;
}

} // namespace telmaris::bench
