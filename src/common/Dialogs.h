#pragma once
// Message and input boxes behind one interface. The window shows real modal boxes; tests
// answer them from a script, so no test ever blocks on a modal box.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace telmaris {

enum class MessageIcon { Information, Question, Critical };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with an OK button. Texts may separate their lines with single CR characters.
    virtual void showMessage(MessageIcon icon, const QString &title, const QString &text) = 0;
    // A modal text input box; nothing when the user cancelled it.
    virtual std::optional<QString> askText(const QString &title, const QString &prompt,
                                           const QString &proposal) = 0;
    // A modal question with "Ja" and "Nein", "Nein" the default; true for "Ja". Where nobody
    // can answer, the question is shown as a notice and the default holds.
    virtual bool askYesNo(const QString &title, const QString &text) {
        showMessage(MessageIcon::Question, title, text);
        return false;
    }
    // The same boxes opened without waiting: they return at once and call back once the user
    // closed the box. Closing the open box by program (closeOpenBox) calls nothing back. By
    // default the waiting box is shown once the event loop has its next turn.
    virtual void openMessage(MessageIcon icon, const QString &title, const QString &text,
                             std::function<void()> closed);
    virtual void openInput(const QString &title, const QString &prompt,
                           std::function<void(const std::optional<QString> &)> answered);
    virtual void closeOpenBox() { pendingBox_.reset(); }
    // A file box for a file to be written, proposing a path; nothing when the user cancelled
    // it. Where nobody can pick a file it is cancelled.
    virtual std::optional<QString> askSaveFileName(const QString &title, const QString &proposal) {
        (void)title;
        (void)proposal;
        return std::nullopt;
    }

private:
    // The box opened without waiting that is still to be shown; gone with these dialogs.
    std::shared_ptr<int> pendingBox_;
};

} // namespace telmaris
