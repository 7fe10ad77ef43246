#pragma once
// The boxes of a run without a screen: each box becomes one line on standard error,
// "Telmaris: " + title + ": " + text, the title without the program's name, the text's line
// breaks as single blanks. A notice counts as confirmed, an input box as cancelled.

#include "common/Dialogs.h"

namespace telmaris {

class ConsoleDialogs : public Dialogs {
public:
    void showMessage(MessageIcon icon, const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &proposal) override;

private:
    static void printLine(const QString &title, const QString &text);
};

} // namespace telmaris
