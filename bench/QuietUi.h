#pragma once
// A window for benchmarks that shows nothing: it holds the script text, answers no box, and
// lets a benchmark watch the status texts and the lines as the run selects them.

#include "runner/RunnerUi.h"

#include <functional>

namespace telmaris::bench {

class QuietUi : public RunnerUi {
public:
    explicit QuietUi(QString text) : text_(std::move(text)) {}
    std::function<void(const QString &)> onStatus;
    std::function<void(int start)> onSelect;

    void Status(const QString &text) override {
        if (onStatus)
            onStatus(text);
    }
    void ShowMessage(MessageIcon, const QString &, const QString &) override {}
    QString InputBox(const QString &, const QString &) override { return {}; }
    void Beep() override {}
    QString EditorText() const override { return text_; }
    void SetEditorLocked(bool) override {}
    void SelectEditorRange(int start, int) override {
        if (onSelect)
            onSelect(start);
    }
    int EditorCaret() const override { return 0; }
    void SetEditorCaret(int) override {}
    void FocusEditor() override {}
    void SetRunState(bool) override {}

private:
    QString text_;
};

} // namespace telmaris::bench
