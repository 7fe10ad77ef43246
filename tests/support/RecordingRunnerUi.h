#pragma once
// A RunnerUi that records what a run shows the user and answers input boxes from a list.
// The editor is a plain CR LF text with a selection and a caret.

#include "runner/RunnerUi.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace telmaris::test {

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
};

class RecordingRunnerUi : public RunnerUi {
public:
    explicit RecordingRunnerUi(QString text = {}) : text_(std::move(text)) {}

    // Everything the run did, in order: "Status: ...", "Message: <title>: <text>",
    // "Input: <title>: <prompt>", "Beep", "Lock", "Unlock", "Select <start> <length>",
    // "Caret <n>", "Focus", "Running", "Idle".
    QStringList calls;
    QStringList statuses;
    QList<ShownMessage> messages;
    QStringList inputAnswers; // answered in order; the empty text (cancel) when none is left
    std::function<void(const ShownMessage &)> onMessage;
    std::function<void(int start, int length)> onSelect;

    bool locked = false;
    bool running = false;
    int caret = 0;
    int selectionStart = 0;
    int selectionLength = 0;

    void setText(const QString &text) { text_ = text; }
    // The texts of the lines the run selected, in order (empty lines included).
    QStringList selectedLines;

    void Status(const QString &text) override {
        statuses << text;
        calls << QStringLiteral("Status: ") + text;
    }
    void ShowMessage(MessageIcon icon, const QString &title, const QString &text) override {
        calls << QStringLiteral("Message: ") + title + QStringLiteral(": ") + text;
        messages.append({icon, title, text});
        if (onMessage)
            onMessage(messages.last());
    }
    QString InputBox(const QString &title, const QString &prompt) override {
        calls << QStringLiteral("Input: ") + title + QStringLiteral(": ") + prompt;
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    void Beep() override { calls << QStringLiteral("Beep"); }
    QString EditorText() const override { return text_; }
    void SetEditorLocked(bool on) override {
        locked = on;
        calls << (on ? QStringLiteral("Lock") : QStringLiteral("Unlock"));
    }
    void SelectEditorRange(int start, int length) override {
        selectionStart = start;
        selectionLength = length;
        selectedLines << SelectedEditorText();
        calls << QStringLiteral("Select %1 %2").arg(start).arg(length);
        if (onSelect)
            onSelect(start, length);
    }
    QString SelectedEditorText() const override {
        return text_.mid(selectionStart, selectionLength);
    }
    int EditorCaret() const override { return caret; }
    void SetEditorCaret(int position) override {
        caret = position;
        selectionStart = position;
        selectionLength = 0;
        calls << QStringLiteral("Caret %1").arg(position);
    }
    void FocusEditor() override { calls << QStringLiteral("Focus"); }
    void SetRunState(bool on) override {
        running = on;
        calls << (on ? QStringLiteral("Running") : QStringLiteral("Idle"));
    }

private:
    QString text_;
};

} // namespace telmaris::test
