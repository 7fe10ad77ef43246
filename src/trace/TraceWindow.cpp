#include "trace/TraceWindow.h"

#include "common/Dialogs.h"
#include "common/UserTexts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace telmaris {

TraceWindow::TraceWindow(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Debugger"));

    lines_ = new QListWidget(this);
    lines_->setObjectName(QStringLiteral("traceLines"));
    lines_->setSelectionMode(QAbstractItemView::SingleSelection);
    lines_->setUniformItemSizes(true);

    saveButton_ = new QPushButton(QStringLiteral("S&peichern\u2026"), this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    connect(saveButton_, &QPushButton::clicked, this, &TraceWindow::saveLines);
    clearButton_ = new QPushButton(QStringLiteral("&Leeren"), this);
    clearButton_->setObjectName(QStringLiteral("clearButton"));
    connect(clearButton_, &QPushButton::clicked, lines_, &QListWidget::clear);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(clearButton_);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(lines_, 1);
    layout->addLayout(buttons);

    resize(420, 320);
}

void TraceWindow::addTrace(const QString &line) {
    lines_->addItem(line);
    lines_->setCurrentRow(lines_->count() - 1);
    lines_->scrollToItem(lines_->item(lines_->count() - 1));
}

QStringList TraceWindow::lines() const {
    QStringList result;
    result.reserve(lines_->count());
    for (int i = 0; i < lines_->count(); ++i)
        result << lines_->item(i)->text();
    return result;
}

// The lines as shown, one per line of the file, in UTF-8; the file is replaced only when all
// of it could be written. It is readable only by its user, like the run log: it may hold codes
// typed for EINGABE. An empty list makes no file.
void TraceWindow::saveLines() {
    if (lines_->count() == 0) {
        dialogs_.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                             texts::TraceEmptyMessage);
        return;
    }
    const std::optional<QString> path = dialogs_.askSaveFileName(
        texts::TraceSaveTitle, QDir::home().filePath(QStringLiteral("Debugger.txt")));
    if (!path || path->isEmpty())
        return;
    QString text;
    for (const QString &line : lines())
        text += QString(line).replace(u'\r', QStringLiteral("<CR>")) + u'\n';
    QSaveFile file(*path);
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(text.toUtf8()) >= 0 && file.commit())
        return;
    dialogs_.showMessage(
        MessageIcon::Critical, QStringLiteral("Telmaris"),
        texts::TraceNotSavedMessage.arg(*path + QStringLiteral(": ") + file.errorString()));
}

} // namespace telmaris
