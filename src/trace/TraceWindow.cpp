#include "trace/TraceWindow.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace telmaris {

TraceWindow::TraceWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Debugger"));

    lines_ = new QListWidget(this);
    lines_->setObjectName(QStringLiteral("traceLines"));
    lines_->setSelectionMode(QAbstractItemView::SingleSelection);
    lines_->setUniformItemSizes(true);

    clearButton_ = new QPushButton(QStringLiteral("Clear"), this);
    clearButton_->setObjectName(QStringLiteral("clearButton"));
    connect(clearButton_, &QPushButton::clicked, lines_, &QListWidget::clear);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(lines_, 1);
    layout->addWidget(clearButton_, 0, Qt::AlignHCenter);

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

} // namespace telmaris
