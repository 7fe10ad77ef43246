#include "shell/MessageDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace telmaris {

QString toDisplayLines(const QString &text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines;
}

void MessageDialogs::showMessage(MessageIcon icon, const QString &title, const QString &text) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(toDisplayLines(text));
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool MessageDialogs::askYesNo(const QString &title, const QString &text) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(toDisplayLines(text));
    box.setIcon(QMessageBox::Question);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> MessageDialogs::askText(const QString &title, const QString &prompt,
                                               const QString &proposal) {
    bool ok = false;
    QString answer = QInputDialog::getText(parent_, title, toDisplayLines(prompt),
                                           QLineEdit::Normal, proposal, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> MessageDialogs::askSaveFileName(const QString &title,
                                                       const QString &proposal) {
    QString path = QFileDialog::getSaveFileName(parent_, title, proposal);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace telmaris
