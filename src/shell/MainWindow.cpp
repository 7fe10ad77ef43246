#include "shell/MainWindow.h"

#include "common/UserTexts.h"
#include "editor/ScriptEdit.h"
#include "help/DesktopOpener.h"
#include "help/Help.h"
#include "info/Artwork.h"
#include "info/InfoDialog.h"
#include "options/OptionsPage.h"
#include "shell/FramePacer.h"
#include "shell/NameWarnings.h"
#include "shell/PortHandling.h"
#include "shell/Session.h"
#include "shell/SlotNavigation.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace telmaris {

MainWindow::MainWindow(QString programDir, Dialogs &dialogs, DocumentOpener *opener,
                       QWidget *parent)
    : QMainWindow(parent), programDir_(std::move(programDir)), dialogs_(dialogs),
      ownOpener_(opener ? nullptr : std::make_unique<DesktopOpener>()),
      opener_(opener ? *opener : *ownOpener_), info_(std::make_unique<InfoDialogHolder>(opener_)),
      runSide_(dialogs, data_, runControls_, [this] { enableWhatOpensPorts(); }), store_(runSide_) {
    buildWindow();
    setWindowTitle(QStringLiteral("Telmaris"));
    resize(720, 520);
}

// A chooser that loses the focus while the page is taken down reports its text; this window
// is half gone by then and must not hear it.
MainWindow::~MainWindow() {
    disconnect(optionsPage_, nullptr, this, nullptr);
}

void MainWindow::buildWindow() {
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(4);

    scriptSlider_ = new QSlider(Qt::Horizontal, central);
    scriptSlider_->setObjectName(QStringLiteral("scriptSlider"));
    scriptSlider_->setRange(1, OptionsTab);
    scriptSlider_->setSingleStep(1);
    scriptSlider_->setPageStep(10);
    scriptSlider_->setTickPosition(QSlider::TicksBelow);
    scriptSlider_->setTickInterval(10);
    scriptSlider_->setTracking(false); // a drag selects the tab where it is let go
    layout->addWidget(scriptSlider_);

    scriptTabs_ = new QTabBar(central);
    scriptTabs_->setObjectName(QStringLiteral("scriptTabs"));
    scriptTabs_->setUsesScrollButtons(true);
    scriptTabs_->setExpanding(false);
    scriptTabs_->setElideMode(Qt::ElideNone);
    scriptTabs_->setDrawBase(false);
    scriptTabs_->setFocusPolicy(Qt::StrongFocus);
    for (int n = 1; n <= SlotCount; ++n)
        scriptTabs_->addTab(QString::number(n));
    scriptTabs_->addTab(QStringLiteral("Optionen"));
    layout->addWidget(scriptTabs_);

    pages_ = new QStackedWidget(central);
    pages_->setFrameShape(QFrame::StyledPanel);
    optionsPage_ = new OptionsPage(data_, dialogs_, pages_);
    pages_->addWidget(optionsPage_);

    auto *scriptPage = new QWidget(pages_);
    editorStack_ = new QStackedLayout(scriptPage);
    editorStack_->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        editors_[i] = new ScriptEdit(i == 1, scriptPage);
        editors_[i]->setObjectName(i == 1 ? QStringLiteral("wrappingScriptEdit")
                                          : QStringLiteral("scriptEdit"));
        editorStack_->addWidget(editors_[i]);
        connect(editors_[i], &ScriptEdit::edited, this,
                [this] { store_.scripts().skriptChanged = true; });
        addHint(editors_[i]->viewport(), texts::EditorHint);
    }
    editorStack_->setCurrentIndex(0);
    pages_->addWidget(scriptPage);
    pages_->setCurrentIndex(1);
    layout->addWidget(pages_, 1);

    layout->addWidget(buildButtonRow());
    setCentralWidget(central);

    // The status line changes with every answer of the modem, twice per command. Held by a
    // widget without a layout, a new text only repaints the label: in a layout each text would
    // lay out the whole window again. A long text is cut at the window's edge.
    statusHolder_ = new QWidget(this);
    statusLabel_ = new QLabel(QStringLiteral(" "), statusHolder_);
    pacer_ = new FramePacer({editors_[0], editors_[1], statusLabel_}, this);
    statusLabel_->setObjectName(QStringLiteral("statusLine"));
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusHolder_->setFixedHeight(statusLabel_->sizeHint().height());
    statusHolder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    statusHolder_->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusHolder_->installEventFilter(this); // the label follows the holder's size
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(statusHolder_, 1);
    runControls_ = {statusLabel_,   editors_,    programButton_, endButton_,
                    optionsButton_, scriptTabs_, scriptSlider_,  pacer_};

    ports_ = new PortHandling(*optionsPage_, this);
    navigation_ = new SlotNavigation(
        {this, scriptSlider_, scriptTabs_, pages_, editorStack_, editors_, optionsPage_}, data_,
        store_, runSide_, *ports_, this);
    connect(navigation_, &SlotNavigation::tabShown, this, &MainWindow::enableWhatOpensPorts);
    session_ = new Session(programDir_,
                           {*this, *scriptTabs_, *optionsPage_, dialogs_, store_, data_, runSide_,
                            *ports_, *navigation_},
                           this);
    // After the session has taken the probe's result.
    connect(ports_, &PortHandling::probed, this, &MainWindow::enableWhatOpensPorts);
    connect(session_, &Session::startedUp, this, &MainWindow::startedUp);
    connect(session_, &Session::exitRequested, this, &MainWindow::exitRequested);
    connect(session_, &Session::runEnded, this, &MainWindow::runEnded);
#ifndef QT_NO_SESSIONMANAGER
    // At the end of the desktop session the program may be ended without a close: what is not
    // stored is stored now, without a question.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, session_, &Session::storeForSessionEnd);
#endif
    optionsPage_->setNameCheck([this](int n, const QString &name) {
        const std::array<QString, 100> names = optionsPage_->allNames();
        const QStringList warnings = nameWarnings(n, name, {names.begin(), names.end()});
        return warnings.isEmpty() ? QString() : nameWarningQuestion(n, name, warnings);
    });
    connect(optionsPage_, &OptionsPage::runLogOpenRequested, this, &MainWindow::openRunLog);
    connect(optionsPage_, &OptionsPage::lineLenChanged, this, [this](int lineLen) {
        for (ScriptEdit *edit : editors_)
            edit->setLineLen(lineLen);
    });

    addHint(scriptSlider_, texts::SliderHint);
    addHint(scriptTabs_, texts::TabStripHint);
    addHint(statusBar(), texts::StatusLineHint);
    addHint(optionsPage_->umbruchFrame(), texts::EditorHint);
    addHint(optionsPage_->skriptNameListBox()->viewport(), texts::NameListHint);
}

QWidget *MainWindow::buildButtonRow() {
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);

    logo_ = new QLabel(row);
    logo_->setObjectName(QStringLiteral("logo"));
    // The logo as high as the buttons, so the row fits a 640-pixel window.
    const QPixmap logo = smallLogoPicture().scaledToHeight(26, Qt::SmoothTransformation);
    logo_->setPixmap(logo);
    logo_->setFixedSize(logo.size());
    logo_->setCursor(logoPointer());
    logo_->setToolTip(logoToolTip());
    logo_->installEventFilter(this); // a click opens the maker's web site
    layout->addWidget(logo_);

    const auto makeButton = [this, row](const QString &caption, const char *name,
                                        void (MainWindow::*clicked)()) {
        auto *button = new QPushButton(caption, row);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, clicked);
        return button;
    };
    programButton_ =
        makeButton(QStringLiteral("&Programmieren"), "programButton", &MainWindow::programClicked);
    helpButton_ = makeButton(QStringLiteral("&Hilfe"), "helpButton", &MainWindow::helpClicked);
    endButton_ = makeButton(QStringLiteral("&Ende"), "endButton", &MainWindow::endClicked);
    infoButton_ = makeButton(QStringLiteral("&Info"), "infoButton", &MainWindow::infoClicked);
    optionsButton_ =
        makeButton(QStringLiteral("&Optionen"), "optionsButton", &MainWindow::optionsClicked);
    QFont bold = programButton_->font();
    bold.setBold(true);
    programButton_->setFont(bold);

    // The four small buttons share one width; "&Programmieren" is three and a half times as
    // wide: the room of the row is shared 2:2:2:2:7.
    const std::array<QPushButton *, 4> smallButtons{infoButton_, helpButton_, endButton_,
                                                    optionsButton_};
    int small = 0;
    for (QPushButton *button : smallButtons) {
        const QString caption = button->text().remove(u'&');
        small = std::max(small, button->fontMetrics().horizontalAdvance(caption) + 12);
    }
    for (QPushButton *button : smallButtons) {
        button->setMinimumWidth(small);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(button, 2);
    }
    programButton_->setMinimumWidth(small * 7 / 2);
    programButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(programButton_, 7);

    setTabOrder(programButton_, optionsButton_);
    setTabOrder(optionsButton_, endButton_);
    setTabOrder(endButton_, helpButton_);
    setTabOrder(helpButton_, infoButton_);

    addHint(programButton_, texts::ProgramButtonHint);
    addHint(helpButton_, texts::HelpButtonHint);
    addHint(endButton_, texts::EndButtonHint);
    addHint(infoButton_, texts::InfoButtonHint);
    return row;
}

void MainWindow::addHint(QWidget *widget, const QString &hint) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    hints_.insert(widget, hint);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == statusHolder_ && event->type() == QEvent::Resize) {
        statusLabel_->setGeometry(statusHolder_->rect());
        return false;
    }
    if (watched == logo_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        openWebSite(opener_);
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        // Only the control itself shows its hint; a move over a control inside it (the check
        // box in its frame, the tab bar's scroll buttons) that reaches it does not.
        const auto hint = hints_.constFind(watched);
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (hint != hints_.constEnd() && !static_cast<QWidget *>(watched)->childAt(at))
            status(*hint);
    }
    return QMainWindow::eventFilter(watched, event);
}

std::optional<int> MainWindow::init(const QString &argument, bool display) {
    const std::optional<int> exitStatus = session_->init(argument, display);
    enableWhatOpensPorts();
    return exitStatus;
}

void MainWindow::stopForSignal(const QString &signalName) {
    session_->stopForSignal(signalName);
}

bool MainWindow::unattended() const {
    return session_->unattended();
}

void MainWindow::setErrorCountReader(ErrorCountReader reader) {
    session_->setErrorCountReader(std::move(reader));
}

void MainWindow::selectTab(int tab) {
    navigation_->selectTab(tab);
}

void MainWindow::setDeviceDetector(DeviceDetector detector) {
    ports_->setDeviceDetector(std::move(detector));
}

// "Programmieren" waits for the probe, and for the chosen port to be one that can be opened:
// a run on any other would only end in an error. Its tooltip says where the reason is.
void MainWindow::enableWhatOpensPorts() {
    const bool portsKnown = !session_->starting() && !ports_->probing();
    const bool portUsable = portsKnown && ports_->usable(data_.comPort);
    programButton_->setEnabled(runSide_.running() ||
                               (portUsable && navigation_->currTab() != OptionsTab));
    programButton_->setToolTip(
        portsKnown && !portUsable ? texts::PortNotUsableToolTip.arg(data_.comPort) : QString());
    optionsPage_->setModemTestAllowed(!runSide_.running() && portsKnown);
}

void MainWindow::openRunLog() {
    const QString &path = session_->runLogPath();
    if (QFileInfo(path).isFile())
        openFileOrTellWhere(path, texts::RunLogNotHandedOverMessage, dialogs_, opener_);
    else
        dialogs_.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                             texts::NoRunLogYetMessage.arg(QDir::toNativeSeparators(path)));
}

void MainWindow::helpClicked() {
    showHelp(programDir_, dialogs_, opener_);
}

void MainWindow::programClicked() {
    session_->programClicked();
}

// The close request stores the script and the settings; it is refused when the text could not
// be stored the first time.
void MainWindow::endClicked() {
    session_->closeAsEnd();
}

void MainWindow::infoClicked() {
    info_->showInfo();
}

void MainWindow::optionsClicked() {
    selectTab(OptionsTab);
}

// ---------------------------------------------------------------------------------------
// The close request

void MainWindow::closeEvent(QCloseEvent *event) {
    if (session_->running()) {
        runSide_.beep();
        event->ignore();
        show();
        return;
    }
    if (!session_->storeForClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::status(const QString &text) {
    runSide_.status(text);
}

} // namespace telmaris
