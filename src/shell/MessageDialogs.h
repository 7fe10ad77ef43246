#pragma once
// The real modal boxes behind the Dialogs interface.

#include "common/Dialogs.h"

class QWidget;

namespace telmaris {

class MessageDialogs : public Dialogs {
public:
    explicit MessageDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void ShowMessage(MessageIcon icon, const QString &title, const QString &text) override;
    std::optional<QString> AskText(const QString &title, const QString &prompt,
                                   const QString &proposal) override;

private:
    QWidget *parent_;
};

// Message texts separate their lines with single CR characters; a box needs LF to break them.
QString ToDisplayLines(const QString &text);

} // namespace telmaris
