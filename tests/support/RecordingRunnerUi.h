#pragma once
// A RunnerUi that records what a run shows the user and answers input boxes from a list.
// The editor is a plain CR LF text with a selection and a caret.

#include "ScriptedDialogs.h"
#include "runner/RunnerUi.h"

#include <QStringList>
#include <functional>

namespace telmaris::test {

class RecordingRunnerUi : public RunnerUi {
public:
    explicit RecordingRunnerUi(QString text = {}) : text_(std::move(text)) {}

    // Everything the run did, in order: "Status: ...", "Message: <title>: <text>",
    // "Input: <title>: <prompt>", "Beep", "Lock", "Unlock", "Select <start> <length>",
    // "Caret <n>", "Focus", "Running", "Idle".
    QStringList calls;
    QStringList statuses;
    QStringList messages;      // "[icon] title: text" of every box, as DescribeBox writes it
    QStringList selectedLines; // the texts of the lines the run selected, in order
    QStringList inputAnswers;  // answered in order; the empty text (cancel) when none is left
    std::function<void(int start)> onSelect;
    bool locked = false;
    bool running = false;
    int caret = 0;
    int selectionStart = 0;
    int selectionLength = 0;

    void setText(const QString &text) { text_ = text; }

    void Status(const QString &text) override {
        statuses << text;
        calls << "Status: " + text;
    }
    void ShowMessage(MessageIcon icon, const QString &title, const QString &text) override {
        calls << "Message: " + title + ": " + text;
        messages << DescribeBox(icon, title, text);
    }
    QString InputBox(const QString &title, const QString &prompt) override {
        calls << "Input: " + title + ": " + prompt;
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    void Beep() override { calls << "Beep"; }
    QString EditorText() const override { return text_; }
    void SetEditorLocked(bool on) override { calls << ((locked = on) ? "Lock" : "Unlock"); }
    void SelectEditorRange(int start, int length) override {
        selectionStart = start;
        selectionLength = length;
        selectedLines << SelectedEditorText();
        calls << QStringLiteral("Select %1 %2").arg(start).arg(length);
        if (onSelect)
            onSelect(start);
    }
    QString SelectedEditorText() const { return text_.mid(selectionStart, selectionLength); }
    int EditorCaret() const override { return caret; }
    void SetEditorCaret(int position) override {
        caret = selectionStart = position;
        selectionLength = 0;
        calls << QStringLiteral("Caret %1").arg(position);
    }
    void FocusEditor() override { calls << "Focus"; }
    void SetRunState(bool on) override { calls << ((running = on) ? "Running" : "Idle"); }

private:
    QString text_;
};

} // namespace telmaris::test
