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

namespace {

void fillMessageBox(QMessageBox &box, MessageIcon icon, const QString &title, const QString &text) {
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
}

} // namespace

void MessageDialogs::showMessage(MessageIcon icon, const QString &title, const QString &text) {
    QMessageBox box(parent_);
    fillMessageBox(box, icon, title, text);
    box.exec();
}

// Modal for the user, but shown without a loop of its own: the caller goes on at once.
void MessageDialogs::openBox(QDialog *box) {
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    openBox_ = box;
    box->show();
}

void MessageDialogs::openMessage(MessageIcon icon, const QString &title, const QString &text,
                                 std::function<void()> closed) {
    auto *box = new QMessageBox(parent_);
    fillMessageBox(*box, icon, title, text);
    QObject::connect(box, &QDialog::finished, box, [closed = std::move(closed)] { closed(); });
    openBox(box);
}

void MessageDialogs::openInput(const QString &title, const QString &prompt,
                               std::function<void(const std::optional<QString> &)> answered) {
    auto *box = new QInputDialog(parent_);
    box->setWindowTitle(title);
    box->setLabelText(toDisplayLines(prompt));
    box->setTextValue(QString());
    QObject::connect(box, &QDialog::finished, box,
                     [box, answered = std::move(answered)](int result) {
                         if (result == QDialog::Accepted)
                             answered(box->textValue());
                         else
                             answered(std::nullopt);
                     });
    openBox(box);
}

void MessageDialogs::closeOpenBox() {
    if (!openBox_)
        return;
    QDialog *box = openBox_;
    openBox_.clear();
    QObject::disconnect(box, &QDialog::finished, nullptr, nullptr);
    box->close();
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
