#include "common/Dialogs.h"

#include <QCoreApplication>

namespace telmaris {

namespace {

// Runs show on the event loop's next turn, unless the box was closed by program or the dialogs
// are gone by then.
void showLater(std::shared_ptr<int> &pending, std::function<void()> show) {
    pending = std::make_shared<int>(0);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [box = std::weak_ptr<int>(pending), show = std::move(show)] {
            if (!box.expired())
                show();
        },
        Qt::QueuedConnection);
}

} // namespace

void Dialogs::openMessage(MessageIcon icon, const QString &title, const QString &text,
                          std::function<void()> closed) {
    showLater(pendingBox_, [this, icon, title, text, closed = std::move(closed)] {
        pendingBox_.reset();
        showMessage(icon, title, text);
        closed();
    });
}

void Dialogs::openInput(const QString &title, const QString &prompt,
                        std::function<void(const std::optional<QString> &)> answered) {
    showLater(pendingBox_, [this, title, prompt, answered = std::move(answered)] {
        pendingBox_.reset();
        answered(askText(title, prompt, QString()));
    });
}

} // namespace telmaris
