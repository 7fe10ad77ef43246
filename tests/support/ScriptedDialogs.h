#pragma once
// A Dialogs stand-in for widget tests: records every box shown and answers input boxes from a
// list given beforehand, so no test ever blocks on a modal box.

#include "common/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace telmaris::test {

struct AskedInput {
    QString title;
    QString prompt;
    QString proposal;
};

class ScriptedDialogs : public Dialogs {
public:
    void showMessage(MessageIcon icon, const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &proposal) override;
    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> askSaveFileName(const QString &title, const QString &proposal) override;

    // The next answers of input boxes in order; nothing stands for a cancelled box. When the
    // list is used up, a box is cancelled.
    QList<std::optional<QString>> answers;
    // The next answers of yes/no questions in order, true for "Ja"; used up: "Nein".
    QList<bool> yesNo;
    // The files picked in file boxes, in order; nothing or a used-up list cancels the box.
    QList<std::optional<QString>> fileAnswers;
    // Called with the text while a message box is "open" (e.g. to act during a run's box).
    std::function<void(const QString &text)> onMessage;

    QStringList messages; // every box shown, as "[critical] Telmaris: text", questions too
    QStringList texts;    // just their texts
    QList<AskedInput> inputs;
};

} // namespace telmaris::test
