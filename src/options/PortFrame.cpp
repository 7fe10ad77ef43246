#include "options/PortFrame.h"

#include "common/Numbers.h"
#include "ports/PortDiagnosis.h"
#include "ports/PortMap.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace telmaris {

namespace {

// What the system reports of a device: its description, its maker and its path.
QString deviceInfo(const SerialDevice &device) {
    QStringList parts;
    for (const QString &part : {device.description, device.manufacturer, device.path}) {
        if (!part.isEmpty() && !parts.contains(part))
            parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

QLabel *makeInfoLabel(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

PortFrame::PortFrame(QWidget *parent)
    : QGroupBox(QStringLiteral("Wo ist das &Modem angeschlossen?"), parent) {
    auto *layout = new QGridLayout(this);
    portGroup_ = new QButtonGroup(this);
    portGroup_->setExclusive(true);
    for (int i = 0; i < 4; ++i) {
        const int comPort = i + 1;
        portButtons_[i] = new QRadioButton(QStringLiteral("COM &%1").arg(comPort), this);
        portButtons_[i]->setObjectName(QStringLiteral("com%1Button").arg(comPort));
        portGroup_->addButton(portButtons_[i], i);
        // A detected device is chosen from the list, any other path typed in.
        portDevices_[i] = new QComboBox(this);
        portDevices_[i]->setObjectName(QStringLiteral("com%1Device").arg(comPort));
        portDevices_[i]->setEditable(true);
        portDevices_[i]->setInsertPolicy(QComboBox::NoInsert);
        portDevices_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        portDevices_[i]->setMinimumContentsLength(20);
        // One line each, so the page fits a small window; what is cut off at the page's edge
        // is in the tooltip, and a reason is in full below the ports.
        portInfos_[i] = makeInfoLabel(QStringLiteral("com%1Info").arg(comPort), this);
        portInfos_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(portButtons_[i], i, 0);
        layout->addWidget(portDevices_[i], i, 1);
        // Beside the buttons "&Neu suchen" and "Mo&dem testen" in the first two rows, across
        // their column below them.
        layout->addWidget(portInfos_[i], i, 2, 1, i < 2 ? 1 : 2);
        connect(portDevices_[i], &QComboBox::activated, this,
                [this, comPort] { takePortDevice(comPort); });
        connect(portDevices_[i]->lineEdit(), &QLineEdit::editingFinished, this,
                [this, comPort] { takePortDevice(comPort); });
        // Turning to a port's chooser or its line shows that port's reason in full.
        portDevices_[i]->installEventFilter(this);
        portDevices_[i]->lineEdit()->installEventFilter(this);
        portInfos_[i]->installEventFilter(this);
    }
    layout->setColumnStretch(2, 1);
    portReason_ = makeInfoLabel(QStringLiteral("portReason"), this);
    portReason_->setWordWrap(true);
    // Its height is set from its width (fitReasonHeight): a window's least size takes no
    // notice of a height that follows the width, and would press the page together.
    QSizePolicy fixedLines = portReason_->sizePolicy();
    fixedLines.setHeightForWidth(false);
    portReason_->setSizePolicy(fixedLines);
    portReason_->hide();
    portReason_->installEventFilter(this);
    layout->addWidget(portReason_, 4, 0, 1, 4);

    auto *rescan = new QPushButton(QStringLiteral("&Neu suchen"), this);
    rescan->setObjectName(QStringLiteral("rescanButton"));
    rescan->setAutoDefault(false);
    connect(rescan, &QPushButton::clicked, this, &PortFrame::rescanRequested);
    layout->addWidget(rescan, 0, 3);
    modemTestButton_ = new QPushButton(QStringLiteral("Mo&dem testen"), this);
    modemTestButton_->setObjectName(QStringLiteral("modemTestButton"));
    modemTestButton_->setAutoDefault(false);
    modemTestButton_->setEnabled(false); // until a port is selected
    connect(modemTestButton_, &QPushButton::clicked, this, &PortFrame::modemTestRequested);
    connect(portGroup_, &QButtonGroup::idToggled, this,
            [this] { setModemTestAllowed(modemTestAllowed_); });
    layout->addWidget(modemTestButton_, 1, 3);
}

bool PortFrame::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (watched == portReason_ && type == QEvent::Resize) {
        fitReasonHeight();
        return false;
    }
    if (type == QEvent::FocusIn || type == QEvent::MouseButtonPress) {
        for (int i = 0; i < 4; ++i) {
            const bool ofPort = watched == portDevices_[i] ||
                                watched == portDevices_[i]->lineEdit() || watched == portInfos_[i];
            if (ofPort && !reasons_[i].isEmpty() && reasonPort_ != i + 1) {
                reasonPort_ = i + 1;
                showReason();
            }
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

// The chooser holds a detected device's name as its item data; a typed path is its text.
void PortFrame::takePortDevice(int comPort) {
    QComboBox *chooser = portDevices_[comPort - 1];
    const int index = chooser->findText(chooser->currentText());
    const QString device =
        trimBlanks(index >= 0 ? chooser->itemData(index).toString() : chooser->currentText());
    if (device.isEmpty())
        return;
    reasonPort_ = comPort; // if this device cannot be used either, say why at once
    Q_EMIT portDeviceChosen(comPort, device);
}

void PortFrame::setPorts(const PortProbe &probe, const std::array<QString, 4> &devices,
                         const SerialDevices &detected) {
    devices_ = devices;
    for (int i = 0; i < 4; ++i) {
        portButtons_[i]->setEnabled(probe.usable[i]);
        QComboBox *chooser = portDevices_[i];
        const QSignalBlocker quiet(chooser);
        chooser->clear();
        for (const SerialDevice &device : detected)
            chooser->addItem(device.name(), device.name());
        chooser->setCurrentIndex(chooser->findData(devices[i]));
        chooser->setEditText(devices[i]);
        const auto shown =
            std::find_if(detected.begin(), detected.end(),
                         [&](const SerialDevice &d) { return d.isNamed(devices[i]); });
        reasons_[i] = probe.usable[i] ? QString() : probe.reasons[i];
        const QString info = probe.usable[i]
                                 ? (shown != detected.end() ? deviceInfo(*shown) : devices[i])
                                 : briefPortReason(reasons_[i]);
        portInfos_[i]->setText(info);
        portInfos_[i]->setToolTip(probe.usable[i] ? info : reasons_[i]);
        portButtons_[i]->setToolTip(devices[i]);
        for (int item = 0; item < chooser->count(); ++item)
            chooser->setItemData(item, deviceInfo(detected[item]), Qt::ToolTipRole);
    }
    // The port turned to last keeps its place while it cannot be used; otherwise the selected
    // port, or the first that cannot be used, is explained.
    const auto unusable = [this](int comPort) {
        return comPort >= 1 && !reasons_[comPort - 1].isEmpty();
    };
    if (!unusable(reasonPort_))
        reasonPort_ = unusable(selectedPort()) ? selectedPort() : 0;
    for (int comPort = 1; comPort <= 4 && reasonPort_ == 0; ++comPort) {
        if (unusable(comPort))
            reasonPort_ = comPort;
    }
    showReason();
}

void PortFrame::showReason() {
    portReason_->setVisible(reasonPort_ != 0);
    if (reasonPort_ != 0)
        portReason_->setText(
            QStringLiteral("COM %1: %2").arg(reasonPort_).arg(reasons_[reasonPort_ - 1]));
    fitReasonHeight();
}

// The reason claims the lines it needs at the width it has, so that it is never cut.
void PortFrame::fitReasonHeight() {
    // Before the first layout the label is narrower than the frame can ever be.
    const int leastWidth = minimumSizeHint().width() - 2 * layout()->contentsMargins().left();
    const int width = std::max(portReason_->width(), leastWidth);
    const int height = portReason_->heightForWidth(width);
    if (height != portReason_->minimumHeight())
        portReason_->setFixedHeight(height);
}

// A selected port that cannot be used is the one whose reason matters.
void PortFrame::selectPort(int comPort) {
    if (comPort < 1 || comPort > 4)
        return;
    portButtons_[comPort - 1]->setChecked(true);
    if (!reasons_[comPort - 1].isEmpty()) {
        reasonPort_ = comPort;
        showReason();
    }
}

int PortFrame::selectedPort() const {
    for (int i = 0; i < 4; ++i) {
        if (portButtons_[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void PortFrame::setModemTestAllowed(bool allowed) {
    modemTestAllowed_ = allowed;
    modemTestButton_->setEnabled(allowed && selectedPort() != 0);
}

} // namespace telmaris
