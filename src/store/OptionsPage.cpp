#include "store/OptionsPage.h"

#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "runner/PortMap.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace telmaris {

namespace {

QSlider *MakeSlider(const char *name, int minimum, int maximum, QWidget *parent) {
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(maximum > 20 ? 10 : 1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(maximum > 20 ? 10 : 1);
    return slider;
}

QGroupBox *MakeFrame(const QString &caption, const char *name, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

} // namespace

OptionsPage::OptionsPage(StartData &data, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent), data_(data), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Layer0"));

    SpeedSliderFrame = MakeFrame(QString(), "SpeedSliderFrame", this);
    SpeedSlider = MakeSlider("SpeedSlider", 1, int(ModemSpeeds.size()), SpeedSliderFrame);
    (new QVBoxLayout(SpeedSliderFrame))->addWidget(SpeedSlider);
    connect(SpeedSlider, &QSlider::valueChanged, this, &OptionsPage::SpeedSliderAction);

    LineLenSliderFrame = MakeFrame(QString(), "LineLenSliderFrame", this);
    LineLenSlider = MakeSlider("LineLenSlider", 1, 120, LineLenSliderFrame);
    (new QVBoxLayout(LineLenSliderFrame))->addWidget(LineLenSlider);
    connect(LineLenSlider, &QSlider::valueChanged, this, &OptionsPage::LineLenSliderAction);

    Frame1 =
        MakeFrame(QStringLiteral("Wie sollen die Skripts dargestellt werden?"), "Frame1", this);
    MitUmbruchChk = new QCheckBox(QStringLiteral("Mit &Zeilenumbruch "), Frame1);
    MitUmbruchChk->setObjectName(QStringLiteral("MitUmbruchChk"));
    (new QVBoxLayout(Frame1))->addWidget(MitUmbruchChk);
    connect(MitUmbruchChk, &QCheckBox::stateChanged, this, &OptionsPage::MitUmbruchChk_Click);

    auto *namesFrame = MakeFrame(QStringLiteral("&Skriptnamen"), "SkriptNamenFrame", this);
    SkriptNameListWidget = new QListWidget(namesFrame);
    SkriptNameListWidget->setObjectName(QStringLiteral("SkriptNameList"));
    SkriptNameListWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    SkriptNameListWidget->setUniformItemSizes(true);
    (new QVBoxLayout(namesFrame))->addWidget(SkriptNameListWidget);
    connect(SkriptNameListWidget, &QListWidget::itemDoubleClicked, this,
            &OptionsPage::SkriptNameList_DblClick);

    // Two columns: the line settings on the left, the modem commands and the names on the
    // right, where the list takes the height that is left.
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(BuildPortFrame());
    left->addWidget(BuildDialFrame());
    left->addWidget(SpeedSliderFrame);
    left->addWidget(LineLenSliderFrame);
    left->addWidget(Frame1);
    left->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(
        BuildCommandFrame(QStringLiteral("Modem-Reset"), ModemResetEdit, "ModemResetEdit"));
    right->addWidget(
        BuildCommandFrame(QStringLiteral("Modem-Initialisieung"), ModemInitEdit, "ModemInitEdit"));
    right->addWidget(namesFrame, 1);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    connect(ModemResetEdit, &QLineEdit::textChanged, this, &OptionsPage::ModemResetEdit_Change);
    connect(ModemInitEdit, &QLineEdit::textChanged, this, &OptionsPage::ModemInitEdit_Change);

    // Until the settings are read the controls show the record's defaults.
    SetSpeed(data_.ModemSpeed);
    SetLineLen(data_.LineLen);
}

QGroupBox *OptionsPage::BuildPortFrame() {
    auto *frame = MakeFrame(QStringLiteral("Wo ist das &Modem angeschlossen?"), "PortFrame", this);
    auto *layout = new QGridLayout(frame);
    PortGroup = new QButtonGroup(this);
    PortGroup->setExclusive(true);
    for (int i = 0; i < 4; ++i) {
        PortOpt[i] = new QRadioButton(QStringLiteral("COM &%1").arg(i + 1), frame);
        PortOpt[i]->setObjectName(QStringLiteral("PortOpt%1").arg(i));
        PortGroup->addButton(PortOpt[i], i);
        layout->addWidget(PortOpt[i], 0, i);
    }
    return frame;
}

QGroupBox *OptionsPage::BuildDialFrame() {
    auto *frame =
        MakeFrame(QStringLiteral("Welches Standard&wahlverfahren?"), "WahlverfahrenFrame", this);
    auto *layout = new QHBoxLayout(frame);
    WahllverfahrenGroup = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("&Ton (MFV)"), QStringLiteral("&Puls (IWV)")};
    for (int i = 0; i < 2; ++i) {
        WahllverfahrenOpt[i] = new QRadioButton(captions[i], frame);
        WahllverfahrenOpt[i]->setObjectName(QStringLiteral("WahllverfahrenOpt%1").arg(i));
        WahllverfahrenGroup->addButton(WahllverfahrenOpt[i], i);
        layout->addWidget(WahllverfahrenOpt[i]);
    }
    WahllverfahrenOpt[0]->setChecked(true);
    connect(WahllverfahrenGroup, &QButtonGroup::idClicked, this,
            &OptionsPage::WahllverfahrenOpt_Click);
    return frame;
}

QGroupBox *OptionsPage::BuildCommandFrame(const QString &caption, QLineEdit *&edit,
                                          const char *name) {
    auto *frame = MakeFrame(caption, name, this);
    frame->setObjectName(
        QString::fromLatin1(name).replace(QStringLiteral("Edit"), QStringLiteral("Frame")));
    auto *layout = new QHBoxLayout(frame);
    auto *at = new QLabel(QStringLiteral("AT"), frame);
    edit = new QLineEdit(frame);
    edit->setObjectName(QString::fromLatin1(name));
    at->setBuddy(edit);
    layout->addWidget(at);
    layout->addWidget(edit, 1);
    return frame;
}

void OptionsPage::SetPorts(const PortProbe &probe, const std::array<QString, 4> &devices) {
    for (int i = 0; i < 4; ++i) {
        PortOpt[i]->setEnabled(probe.usable[i]);
        QString tip = QStringLiteral("Gerät: %1").arg(devices[i]);
        if (!probe.usable[i]) {
            tip += probe.reasons[i].isEmpty()
                       ? QStringLiteral(" (nicht verfügbar)")
                       : QStringLiteral(" (nicht verfügbar: %1)").arg(probe.reasons[i]);
        }
        PortOpt[i]->setToolTip(tip);
    }
}

void OptionsPage::SelectPort(int comPort) {
    if (comPort >= 1 && comPort <= 4)
        PortOpt[comPort - 1]->setChecked(true);
}

int OptionsPage::SelectedPort() const {
    for (int i = 0; i < 4; ++i) {
        if (PortOpt[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void OptionsPage::SetModemReset(const QString &text) {
    ModemResetEdit->setText(text);
    ModemResetEdit_Change(); // also when the box held this text already
}

void OptionsPage::SetModemInit(const QString &text) {
    ModemInitEdit->setText(text);
    ModemInitEdit_Change();
}

void OptionsPage::SetSpeed(int position) {
    SpeedSlider->setValue(position);
    SpeedSliderAction();
}

void OptionsPage::SetDialPuls(int dialPuls) {
    const int index = dialPuls == 0 ? 0 : 1;
    WahllverfahrenOpt[index]->setChecked(true);
    WahllverfahrenOpt_Click(index);
}

void OptionsPage::SetLineLen(int lineLen) {
    LineLenSlider->setValue(lineLen);
    LineLenSliderAction();
}

void OptionsPage::SetUmbruch(int umbruch) {
    MitUmbruchChk->setChecked(umbruch != 0); // the box's own handler switches the editor
}

void OptionsPage::FillNames(const std::array<QString, 100> &names) {
    names_ = SkriptNameList();
    for (int n = 1; n <= SlotCount; ++n)
        names_.PutSkriptNameToListbySkriptIndex(n, names[n - 1], false);
    SkriptNameListWidget->clear();
    SkriptNameListWidget->addItems(names_.entries());
}

std::array<QString, 100> OptionsPage::AllNames() const {
    std::array<QString, 100> result;
    for (int n = 1; n <= SlotCount; ++n)
        result[n - 1] = names_.GetSkriptNameFromListbySkriptIndex(n);
    return result;
}

void OptionsPage::WahllverfahrenOpt_Click(int Index) {
    data_.DialPuls = qint16(Index);
}

void OptionsPage::SpeedSliderAction() {
    data_.ModemSpeed = qint16(SpeedSlider->value());
    SpeedSliderFrame->setTitle(
        QStringLiteral("Modem-Speed: %1").arg(BaudOfSpeedPosition(data_.ModemSpeed)));
}

// Both command boxes: the field is the box's text without surrounding blanks; a leading
// "AT" (any case) is cut from the box, whose change runs this handling again, so any number
// of leading "AT" pairs disappears while the user types.
void OptionsPage::ModemResetEdit_Change() {
    data_.ModemReset = TrimBlanks(ModemResetEdit->text());
    if (data_.ModemReset.left(2).toUpper() == QLatin1String("AT"))
        ModemResetEdit->setText(data_.ModemReset.mid(2));
}

void OptionsPage::ModemInitEdit_Change() {
    data_.ModemInit = TrimBlanks(ModemInitEdit->text());
    if (data_.ModemInit.left(2).toUpper() == QLatin1String("AT"))
        ModemInitEdit->setText(data_.ModemInit.mid(2));
}

void OptionsPage::LineLenSliderAction() {
    data_.LineLen = qint16(LineLenSlider->value());
    LineLenSliderFrame->setTitle(QStringLiteral("Linienlänge: %1").arg(data_.LineLen));
    Q_EMIT LineLenChanged(data_.LineLen);
}

void OptionsPage::MitUmbruchChk_Click() {
    data_.Umbruch = MitUmbruchChk->checkState() == Qt::Unchecked ? 0 : 1;
    Q_EMIT UmbruchChanged(data_.Umbruch);
}

void OptionsPage::SkriptNameList_DblClick() {
    const int row = SkriptNameListWidget->currentRow();
    if (row < 0)
        return;
    const int n = row + 1;
    const std::optional<QString> answer =
        dialogs_.AskText(texts::RenameTitle, texts::RenamePrompt.arg(n),
                         names_.GetSkriptNameFromListbySkriptIndex(n));
    // A cancelled box gives the empty text: the slot is then without name.
    names_.PutSkriptNameToListbySkriptIndex(n, answer.value_or(QString()), true);
    ShowNameEntry(n);
}

void OptionsPage::ShowNameEntry(int n) {
    SkriptNameListWidget->item(n - 1)->setText(names_.entries().at(n - 1));
}

} // namespace telmaris
