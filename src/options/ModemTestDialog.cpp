#include "options/ModemTestDialog.h"

#include "common/UserTexts.h"
#include "runner/ModemQuery.h"
#include "runner/ModemVerdict.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace telmaris {

ModemTestDialog::ModemTestDialog(const QString &port, const QString &device, int baud,
                                 QWidget *parent)
    : QDialog(parent), query_(new ModemQuery(this)),
      portName_(QStringLiteral("%1 (%2)").arg(port, device)), baud_(baud) {
    setWindowTitle(texts::ModemTestTitle);
    auto *heading = new QLabel(texts::ModemTestPortLine.arg(port, device).arg(baud), this);
    heading->setTextFormat(Qt::PlainText);
    answers_ = new QPlainTextEdit(this);
    answers_->setObjectName(QStringLiteral("modemAnswers"));
    answers_->setReadOnly(true);
    answers_->setLineWrapMode(QPlainTextEdit::NoWrap);
    verdict_ = new QLabel(texts::ModemTestWaiting, this);
    verdict_->setObjectName(QStringLiteral("modemVerdict"));
    verdict_->setTextFormat(Qt::PlainText);
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    closeButton_ = buttons->button(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(answers_, 1);
    layout->addWidget(verdict_);
    layout->addWidget(buttons);
    resize(520, 420);

    connect(query_, &ModemQuery::stepStarted, this, [this](int index) {
        answers_->appendPlainText(QStringLiteral("> ") + query_->steps()[index].command);
    });
    connect(query_, &ModemQuery::stepFinished, this, &ModemTestDialog::showStep);
    connect(query_, &ModemQuery::finished, this, &ModemTestDialog::showVerdict);
    query_->start(device, baud);
}

void ModemTestDialog::showStep(int index) {
    const QueryStep &step = query_->steps()[index];
    for (const QString &line : step.answer)
        answers_->appendPlainText(line);
    if (const QString note = unfinishedStepLine(step.outcome); !note.isEmpty())
        answers_->appendPlainText(note);
}

void ModemTestDialog::showVerdict() {
    verdict_->setText(modemVerdict(query_->steps(), query_->openError(), portName_, baud_));
    closeButton_->setFocus();
}

QString ModemTestDialog::answers() const {
    return answers_->toPlainText();
}

QString ModemTestDialog::verdict() const {
    return verdict_->text();
}

bool ModemTestDialog::isFinished() const {
    return !query_->isRunning();
}

} // namespace telmaris
