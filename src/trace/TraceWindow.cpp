#include "trace/TraceWindow.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace telmaris {

TraceWindow::TraceWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Debugger"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);

    Command1 = new QPushButton(QStringLiteral("Clear"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &TraceWindow::Command1_Click);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(List1, 1);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);

    resize(420, 320);
}

void TraceWindow::AddTrace(const QString &line) {
    List1->addItem(line);
    List1->setCurrentRow(List1->count() - 1);
    List1->scrollToItem(List1->item(List1->count() - 1));
}

QStringList TraceWindow::lines() const {
    QStringList result;
    result.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        result << List1->item(i)->text();
    return result;
}

void TraceWindow::Command1_Click() {
    List1->clear();
}

} // namespace telmaris
