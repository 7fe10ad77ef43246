#pragma once
// The real modal boxes behind the Dialogs interface.

#include "common/Dialogs.h"

#include <QPointer>

class QDialog;
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
    void openMessage(MessageIcon icon, const QString &title, const QString &text,
                     std::function<void()> closed) override;
    void openInput(const QString &title, const QString &prompt,
                   std::function<void(const std::optional<QString> &)> answered) override;
    void closeOpenBox() override;

private:
    void openBox(QDialog *box);

    QWidget *parent_;
    QPointer<QDialog> openBox_; // opened without waiting, still open
};

// Message texts separate their lines with single CR characters; a box needs LF to break them.
QString toDisplayLines(const QString &text);

} // namespace telmaris
