#include "info/InfoDialog.h"

#include "help/Help.h"
#include "help/MakerAddresses.h"
#include "info/Artwork.h"
#include "info/InfoPosition.h"
#include "info/VersionString.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <functional>

namespace telmaris {

namespace {

QFont infoFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(9.75);
    return font;
}

} // namespace

InfoDialog::InfoDialog(DocumentOpener &opener) : QDialog(nullptr), opener_(opener) {
    setWindowTitle(QStringLiteral("Info \u00fcber ") + QStringLiteral("Telmaris"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false); // the main window decides when the program ends

    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setPixmap(logoPicture());
    logo_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    logo_->setCursor(logoPointer());
    logo_->setToolTip(logoToolTip());
    logo_->installEventFilter(this);

    auto *text = new QLabel(infoText(), this);
    text->setObjectName(QStringLiteral("infoText"));
    text->setFont(infoFont());
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    struct ButtonEntry {
        QString caption;
        const char *name;
        std::function<void()> action;
    };
    const ButtonEntry entries[] = {
        {QStringLiteral("\u00dcber &Telmaris"), "aboutButton",
         [this] { openDocument(opener_, QString::fromLatin1(MakerAboutPage)); }},
        {QStringLiteral("E-&Mail an Telmaris"), "mailButton",
         [this] { openDocument(opener_, supportMailAddress(supportMailSubject())); }},
        {QStringLiteral("&www.telmaris.de"), "webButton", [this] { openWebSite(opener_); }},
        {QStringLiteral("Fenster &schlie\u00dfen"), "closeButton", [this] { close(); }},
    };
    auto *buttons = new QHBoxLayout;
    QPushButton *closeButton = nullptr;
    for (const ButtonEntry &entry : entries) {
        auto *button = new QPushButton(entry.caption, this);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, entry.action);
        buttons->addWidget(button);
        closeButton = button;
    }
    closeButton->setDefault(true);

    // The logo stands tall at the left with the text beside it; the rule and the row of buttons
    // run along the bottom edge.
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(logo_);
    top->addWidget(text, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    resize(626, 424);
}

// The outer frame, title bar included, is what is centred. A window manager adds that frame
// only after the window is shown, and then moves the window: so the dialog is placed when shown
// and again each time its frame turns out to have a different size than the one it was placed
// with. A move by the user keeps the frame's size and stays where the user put it.
void InfoDialog::centreByFrame() {
    const QSize frame = frameGeometry().size();
    if (frame == placedFrame_)
        return;
    placedFrame_ = frame;
    if (const QScreen *screen = this->screen())
        move(infoDialogPosition(screen->geometry(), frame));
}

void InfoDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    centreByFrame();
}

void InfoDialog::moveEvent(QMoveEvent *event) {
    QDialog::moveEvent(event);
    if (isVisible())
        centreByFrame();
}

QString InfoDialog::infoText() {
    return QStringLiteral("Telmaris") + versionString() + QStringLiteral(" \u2013") +
           QStringLiteral(" ") +
           QStringLiteral("Programmierhilfe f\u00fcr Telefonanlagen via Modem.");
}

bool InfoDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == logo_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        openWebSite(opener_);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

InfoDialogHolder::~InfoDialogHolder() {
    delete dialog_.data();
}

void InfoDialogHolder::showInfo() {
    if (dialog_.isNull()) {
        dialog_ = new InfoDialog(opener_);
        dialog_->show();
    }
    dialog_->raise();
    dialog_->activateWindow();
}

} // namespace telmaris
