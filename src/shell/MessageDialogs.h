#pragma once
// The real modal boxes behind the Dialogs interface.

#include "common/Dialogs.h"

class QWidget;

namespace telmaris {

class MessageDialogs : public Dialogs {
public:
    explicit MessageDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void showMessage(MessageIcon icon, const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &proposal) override;
    bool askYesNo(const QString &title, const QString &text) override;
    std::optional<QString> askSaveFileName(const QString &title, const QString &proposal) override;

private:
    QWidget *parent_;
};

// Message texts separate their lines with single CR characters; a box needs LF to break them.
QString toDisplayLines(const QString &text);

} // namespace telmaris
