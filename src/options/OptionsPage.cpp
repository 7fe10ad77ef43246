#include "options/OptionsPage.h"

#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "options/ElidedLabel.h"
#include "options/ModemTestDialog.h"
#include "options/PortFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace telmaris {

namespace {

// The controls of a layout that Tab reaches, in the layout's order, those inside frames too.
void collectTabStops(const QLayout *layout, QWidgetList &stops) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (const QLayout *inner = item->layout()) {
            collectTabStops(inner, stops);
        } else if (QWidget *widget = item->widget()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                stops << widget;
            if (const QLayout *own = widget->layout())
                collectTabStops(own, stops);
        }
    }
}

QSlider *makeSlider(const char *name, int minimum, int maximum, QWidget *parent) {
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(maximum > 20 ? 10 : 1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(maximum > 20 ? 10 : 1);
    return slider;
}

// name: the object name a frame is found by, or none.
QGroupBox *makeFrame(const QString &caption, const char *name, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    if (name)
        frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

} // namespace

OptionsPage::OptionsPage(StartData &data, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), data_(data), dialogs_(dialogs) {
    speedFrame_ = makeFrame(QString(), "speedFrame", this);
    speedSlider_ = makeSlider("speedSlider", 1, int(ModemSpeeds.size()), speedFrame_);
    (new QVBoxLayout(speedFrame_))->addWidget(speedSlider_);
    connect(speedSlider_, &QSlider::valueChanged, this, &OptionsPage::takeSpeed);

    lineLenFrame_ = makeFrame(QString(), "lineLenFrame", this);
    lineLenSlider_ = makeSlider("lineLenSlider", 1, 120, lineLenFrame_);
    (new QVBoxLayout(lineLenFrame_))->addWidget(lineLenSlider_);
    connect(lineLenSlider_, &QSlider::valueChanged, this, &OptionsPage::takeLineLen);

    umbruchFrame_ = makeFrame(QStringLiteral("Wie sollen die Skripts dargestellt werden?"),
                              "umbruchFrame", this);
    umbruchCheck_ = new QCheckBox(QStringLiteral("Mit &Zeilenumbruch "), umbruchFrame_);
    umbruchCheck_->setObjectName(QStringLiteral("umbruchCheck"));
    (new QVBoxLayout(umbruchFrame_))->addWidget(umbruchCheck_);
    connect(umbruchCheck_, &QCheckBox::toggled, this, &OptionsPage::takeUmbruch);

    auto *namesFrame = makeFrame(QStringLiteral("&Skriptnamen"), nullptr, this);
    nameList_ = new QListWidget(namesFrame);
    nameList_->setObjectName(QStringLiteral("nameList"));
    nameList_->setSelectionMode(QAbstractItemView::SingleSelection);
    nameList_->setUniformItemSizes(true);
    // Wide enough for a number and a name of a few words.
    nameList_->setMinimumWidth(nameList_->fontMetrics().averageCharWidth() * 20);
    (new QVBoxLayout(namesFrame))->addWidget(nameList_);
    connect(nameList_, &QListWidget::itemDoubleClicked, this, &OptionsPage::renameSelectedSkript);
    nameList_->installEventFilter(this); // Return and F2 rename like a double-click

    // Three columns: the line settings; the modem commands, the run log and the editor's
    // display; the names, whose list takes the whole height of the columns.
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(buildDialFrame());
    left->addWidget(speedFrame_);
    left->addWidget(lineLenFrame_);
    left->addStretch(1);

    auto *middle = new QVBoxLayout;
    middle->setSpacing(6);
    middle->addWidget(
        buildCommandFrame(QStringLiteral("Modem-Reset"), modemResetEdit_, "modemResetEdit"));
    middle->addWidget(buildCommandFrame(QStringLiteral("Modem-Initialisierung"), modemInitEdit_,
                                        "modemInitEdit"));
    middle->addWidget(buildRunLogFrame());
    middle->addWidget(umbruchFrame_);
    middle->addStretch(1);

    // The ports over the full width, where their devices and reasons have room; below them
    // two columns.
    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 8);
    page->setSpacing(6);
    portFrame_ = new PortFrame(this);
    connect(portFrame_, &PortFrame::rescanRequested, this, &OptionsPage::rescanRequested);
    connect(portFrame_, &PortFrame::portDeviceChosen, this, &OptionsPage::portDeviceChosen);
    connect(portFrame_, &PortFrame::modemTestRequested, this, &OptionsPage::testModem);
    page->addWidget(portFrame_);
    auto *columns = new QHBoxLayout;
    columns->setSpacing(10);
    columns->addLayout(left, 0);
    columns->addLayout(middle, 1);
    columns->addWidget(namesFrame, 1);
    page->addLayout(columns, 1);

    connect(modemResetEdit_, &QLineEdit::textChanged, this, &OptionsPage::takeModemReset);
    connect(modemInitEdit_, &QLineEdit::textChanged, this, &OptionsPage::takeModemInit);

    orderTabStops(page);

    // Until the settings are read the controls show the record's defaults.
    setSpeed(data_.modemSpeed);
    setLineLen(data_.lineLen);
}

// Tab goes through the page as it reads: the left column top to bottom, then the right one.
void OptionsPage::orderTabStops(const QLayout *columns) {
    QWidgetList stops;
    collectTabStops(columns, stops);
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

bool OptionsPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == nameList_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                      key->key() == Qt::Key_F2)) {
            renameSelectedSkript();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QGroupBox *OptionsPage::buildDialFrame() {
    auto *frame = makeFrame(QStringLiteral("Welches Standard&wahlverfahren?"), nullptr, this);
    auto *layout = new QVBoxLayout(frame); // one above the other: the column stays narrow
    dialGroup_ = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("&Ton (MFV)"), QStringLiteral("P&uls (IWV)")};
    const char *names[2] = {"toneButton", "pulseButton"};
    for (int i = 0; i < 2; ++i) {
        dialButtons_[i] = new QRadioButton(captions[i], frame);
        dialButtons_[i]->setObjectName(QString::fromLatin1(names[i]));
        dialGroup_->addButton(dialButtons_[i], i);
        layout->addWidget(dialButtons_[i]);
    }
    dialButtons_[0]->setChecked(true);
    connect(dialGroup_, &QButtonGroup::idClicked, this, &OptionsPage::takeDialMethod);
    return frame;
}

// Where the run log is, and a button that opens it in the desktop's program for text.
QGroupBox *OptionsPage::buildRunLogFrame() {
    auto *frame = makeFrame(QStringLiteral("Protokoll der Läufe"), "runLogFrame", this);
    auto *layout = new QVBoxLayout(frame);
    runLogPath_ = new ElidedLabel(frame);
    runLogPath_->setObjectName(QStringLiteral("runLogPath"));
    auto *open = new QPushButton(QStringLiteral("P&rotokoll öffnen"), frame);
    open->setObjectName(QStringLiteral("runLogButton"));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, &OptionsPage::runLogOpenRequested);
    layout->addWidget(runLogPath_);
    layout->addWidget(open, 0, Qt::AlignLeft);
    return frame;
}

void OptionsPage::setRunLogPath(const QString &path) {
    runLogPath_->setFullText(path);
}

QGroupBox *OptionsPage::buildCommandFrame(const QString &caption, QLineEdit *&edit,
                                          const char *name) {
    auto *frame = makeFrame(caption, nullptr, this);
    auto *layout = new QHBoxLayout(frame);
    auto *at = new QLabel(QStringLiteral("AT"), frame);
    edit = new QLineEdit(frame);
    edit->setObjectName(QString::fromLatin1(name));
    at->setBuddy(edit);
    layout->addWidget(at);
    layout->addWidget(edit, 1);
    return frame;
}

void OptionsPage::setPorts(const PortProbe &probe, const std::array<QString, 4> &devices,
                           const SerialDevices &detected) {
    portFrame_->setPorts(probe, devices, detected);
}

void OptionsPage::selectPort(int comPort) {
    portFrame_->selectPort(comPort);
}

int OptionsPage::selectedPort() const {
    return portFrame_->selectedPort();
}

void OptionsPage::setModemTestAllowed(bool allowed) {
    portFrame_->setModemTestAllowed(allowed);
}

// The test asks the modem on the port selected now, at the speed set now, in a window of its
// own that the user closes; the port is given back when the query ends.
void OptionsPage::testModem() {
    const int port = selectedPort();
    if (port == 0)
        return;
    auto *dialog = new ModemTestDialog(QStringLiteral("COM %1").arg(port), portFrame_->device(port),
                                       baudOfSpeedPosition(data_.modemSpeed), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void OptionsPage::setModemReset(const QString &text) {
    modemResetEdit_->setText(text);
    takeModemReset(); // also when the box held this text already
}

void OptionsPage::setModemInit(const QString &text) {
    modemInitEdit_->setText(text);
    takeModemInit();
}

void OptionsPage::setSpeed(int position) {
    speedSlider_->setValue(position);
    takeSpeed();
}

void OptionsPage::setDialPuls(int dialPuls) {
    const int index = dialPuls == 0 ? 0 : 1;
    dialButtons_[index]->setChecked(true);
    takeDialMethod(index);
}

void OptionsPage::setLineLen(int lineLen) {
    lineLenSlider_->setValue(lineLen);
    takeLineLen();
}

void OptionsPage::setUmbruch(int umbruch) {
    umbruchCheck_->setChecked(umbruch != 0); // the box's own handler switches the editor
}

void OptionsPage::fillNames(const std::array<QString, 100> &names) {
    names_ = SkriptNameList();
    for (int n = 1; n <= SlotCount; ++n)
        names_.putSkriptNameToListbySkriptIndex(n, names[n - 1], false);
    nameList_->clear();
    nameList_->addItems(names_.entries());
}

std::array<QString, 100> OptionsPage::allNames() const {
    std::array<QString, 100> result;
    for (int n = 1; n <= SlotCount; ++n)
        result[n - 1] = names_.getSkriptNameFromListbySkriptIndex(n);
    return result;
}

void OptionsPage::takeDialMethod(int index) {
    data_.dialPuls = qint16(index);
}

void OptionsPage::takeSpeed() {
    data_.modemSpeed = qint16(speedSlider_->value());
    speedFrame_->setTitle(
        QStringLiteral("Modem-Speed: %1").arg(baudOfSpeedPosition(data_.modemSpeed)));
}

// Both command boxes: the field is the box's text without surrounding blanks; a leading
// "AT" (any case) is cut from the box, whose change runs this handling again, so any number
// of leading "AT" pairs disappears while the user types.
void OptionsPage::takeModemReset() {
    data_.modemReset = trimBlanks(modemResetEdit_->text());
    if (data_.modemReset.left(2).toUpper() == QLatin1String("AT"))
        modemResetEdit_->setText(data_.modemReset.mid(2));
}

void OptionsPage::takeModemInit() {
    data_.modemInit = trimBlanks(modemInitEdit_->text());
    if (data_.modemInit.left(2).toUpper() == QLatin1String("AT"))
        modemInitEdit_->setText(data_.modemInit.mid(2));
}

void OptionsPage::takeLineLen() {
    data_.lineLen = qint16(lineLenSlider_->value());
    lineLenFrame_->setTitle(QStringLiteral("Linienlänge: %1").arg(data_.lineLen));
    Q_EMIT lineLenChanged(data_.lineLen);
}

void OptionsPage::takeUmbruch() {
    data_.umbruch = umbruchCheck_->checkState() == Qt::Unchecked ? 0 : 1;
    Q_EMIT umbruchChanged(data_.umbruch);
}

void OptionsPage::renameSelectedSkript() {
    const int row = nameList_->currentRow();
    if (row < 0)
        return;
    const int n = row + 1;
    const std::optional<QString> answer =
        dialogs_.askText(texts::RenameTitle, texts::RenamePrompt.arg(n),
                         names_.getSkriptNameFromListbySkriptIndex(n));
    // A cancelled box leaves the name; OK with an empty text leaves the slot without name.
    if (!answer)
        return;
    if (nameCheck_) {
        const QString question = nameCheck_(n, *answer);
        if (!question.isEmpty() && !dialogs_.askYesNo(texts::RenameTitle, question))
            return;
    }
    names_.putSkriptNameToListbySkriptIndex(n, *answer, true);
    showNameEntry(n);
    Q_EMIT skriptRenamed(n, names_.getSkriptNameFromListbySkriptIndex(n));
}

void OptionsPage::showNameEntry(int n) {
    nameList_->item(n - 1)->setText(names_.entries().at(n - 1));
}

} // namespace telmaris
