#pragma once
// The boxes of a run without a screen: each box becomes one line on standard error,
// "Telmaris: " + title + ": " + text, with the text's line breaks as blanks. A notice counts as
// confirmed, an input box as cancelled.

#include "common/Dialogs.h"

#include <cstdio>

namespace telmaris {

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(std::FILE *out = stderr) : out_(out) {}
    void ShowMessage(MessageIcon icon, const QString &title, const QString &text) override;
    std::optional<QString> AskText(const QString &title, const QString &prompt,
                                   const QString &proposal) override;

private:
    void PrintLine(const QString &title, const QString &text);
    std::FILE *out_;
};

} // namespace telmaris
