#include "shell/MessageDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <cstdio>

namespace telmaris {

namespace {

// Test hook: with TELMARIS_TEST_AUTOCLOSE_BOXES=1 every box is closed at once, after its
// title and text have been printed to standard error. End-to-end tests start the program as a
// process and cannot press a box's button; they read the box from standard error instead.
bool AutoCloseBoxes() {
    static const bool autoClose =
        qEnvironmentVariableIntValue("TELMARIS_TEST_AUTOCLOSE_BOXES") == 1;
    return autoClose;
}

void PrintBox(const char *kind, const QString &title, const QString &text) {
    const QByteArray line = QStringLiteral("[%1] %2: %3\n")
                                .arg(QString::fromLatin1(kind), title,
                                     ToDisplayLines(text).replace(u'\n', QStringLiteral(" | ")))
                                .toUtf8();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

const char *IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Critical:
        return "critical";
    }
    return "message";
}

} // namespace

QString ToDisplayLines(const QString &text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines;
}

void MessageDialogs::ShowMessage(MessageIcon icon, const QString &title, const QString &text) {
    if (AutoCloseBoxes()) {
        PrintBox(IconName(icon), title, text);
        return;
    }
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(ToDisplayLines(text));
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

std::optional<QString> MessageDialogs::AskText(const QString &title, const QString &prompt,
                                               const QString &proposal) {
    if (AutoCloseBoxes()) {
        PrintBox("input", title, prompt);
        return std::nullopt;
    }
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, ToDisplayLines(prompt),
                                                 QLineEdit::Normal, proposal, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

} // namespace telmaris
