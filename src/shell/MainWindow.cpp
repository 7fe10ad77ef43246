#include "shell/MainWindow.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "editor/ScriptEdit.h"
#include "editor/ScriptLint.h"
#include "help/DesktopOpener.h"
#include "help/Help.h"
#include "info/Artwork.h"
#include "info/InfoDialog.h"
#include "language/ScriptLanguage.h"
#include "options/OptionsPage.h"
#include "shell/CommandLine.h"
#include "shell/EditBoxText.h"
#include "shell/FramePacer.h"
#include "shell/PortHandling.h"
#include "shell/SlotNavigation.h"
#include "shell/StartUp.h"
#include "store/AutoModeSettings.h"
#include "store/StartDataFile.h"
#include "trace/TraceWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
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
#include <QTextStream>
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

    optionsPage_->setRunLogPath(runLog_.path());
    ports_ = new PortHandling(*optionsPage_, this);
    connect(ports_, &PortHandling::probed, this, &MainWindow::portsProbed);
    navigation_ = new SlotNavigation(
        {this, scriptSlider_, scriptTabs_, pages_, editorStack_, editors_, optionsPage_}, data_,
        store_, runSide_, *ports_, this);
    connect(navigation_, &SlotNavigation::tabShown, this, &MainWindow::enableWhatOpensPorts);
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

// ---------------------------------------------------------------------------------------
// Start-up

std::optional<int> MainWindow::init(const QString &argument, bool display) {
    // The speed table is a constant; the pages are laid out by the constructor with the
    // script page in front.
    pages_->setCurrentIndex(1);
    setWindowTitle(QStringLiteral("Telmaris"));
    const IniSnapshot snapshot = store_.open(programDir_);
    // No settings file yet: the first start.
    const bool firstStart = !QFileInfo::exists(store_.ini().path()) && wantsWindow(argument);
    // The settings in use would be defaults: an unattended run would program an empty slot and
    // report success. The reading error was shown; nothing goes on the line.
    if (store_.readFailed() && !wantsWindow(argument))
        return ExitRunFailed;
    display_ = display;
    answerTimeLimit_ = readAnswerTimeLimit(snapshot, display);
    // The ports are probed on their own thread while the window shows; what needs to know
    // which of them can be opened (the port in use, the run) waits for the result.
    ports_->startUp(snapshot);
    enableWhatOpensPorts();

    // The names go into the tabs before the window shows: a tab bar on screen lays all its
    // tabs out again at each caption. The port is the file's until the probe is in.
    const StoredStartData stored = readStartDataFromIniFile(snapshot, {});
    optionsPage_->fillNames(stored.names);
    for (int n = 1; n <= SlotCount; ++n) {
        // The tab bar takes "&" as a shortcut mark; a name shows every "&" it holds, and the
        // command line compares the caption as it is.
        const QString caption = tabCaption(n, stored.names[n - 1]);
        scriptTabs_->setTabText(n - 1, QString(caption).replace(u'&', QStringLiteral("&&")));
        scriptTabs_->setTabData(n - 1, caption);
    }
    scriptTabs_->setTabText(OptionsTab - 1, QStringLiteral("Optionen"));

    show();

    data_.comPort = stored.data.comPort;
    optionsPage_->setModemReset(stored.data.modemReset);
    optionsPage_->setModemInit(stored.data.modemInit);
    optionsPage_->setSpeed(stored.data.modemSpeed);
    optionsPage_->setDialPuls(stored.data.dialPuls);
    optionsPage_->setLineLen(stored.data.lineLen);
    optionsPage_->setUmbruch(stored.data.umbruch);
    // The stored slot counts as shown already: selecting its tab neither stores nor loads.
    navigation_->showStoredSlot(stored.data.currSkript);

    EditBoxText visible(editors_[data_.umbruch]);
    store_.scripts().readCurrSkriptText(data_.currSkript, snapshot, visible);
    pendingStart_ = PendingStart{argument, snapshot, firstStart};
    return std::nullopt;
}

// The rest of the start-up, once the probe has told which ports can be opened.
void MainWindow::finishStartUp() {
    const PendingStart start = *pendingStart_;
    pendingStart_.reset();
    const PortProbe &probe = ports_->probe();
    if (!probe.anyUsable()) {
        ports_->printUnusable();
        dialogs_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                             texts::NoComPortsMessage);
        Q_EMIT exitRequested(ExitNoSerialPort);
        return;
    }
    const StoredStartData stored = readStartDataFromIniFile(start.snapshot, probe.usable);
    optionsPage_->selectPort(stored.data.comPort);
    data_.comPort = stored.data.comPort;
    if (stored.askToCheckPort && !start.firstStart)
        dialogs_.showMessage(MessageIcon::Question, QStringLiteral("Telmaris"),
                             texts::CheckPortMessage);
    enableWhatOpensPorts();

    if (const std::optional<int> exitStatus = evaluateCommandLine(start.argument)) {
        Q_EMIT exitRequested(*exitStatus);
        return;
    }
    // The first start shows the options page with the port question, so the user sees at
    // once which device each COM number stands for.
    if (start.firstStart && stored.askToCheckPort) {
        selectTab(OptionsTab);
        dialogs_.showMessage(MessageIcon::Question, QStringLiteral("Telmaris"),
                             texts::CheckPortMessage);
    }
    Q_EMIT startedUp();
}

std::optional<int> MainWindow::evaluateCommandLine(const QString &argument) {
    QStringList captions;
    for (int n = 1; n <= SlotCount; ++n)
        captions << scriptTabs_->tabData(n - 1).toString();
    const CommandLineChoice choice = resolveCommandLine(argument, captions);

    traceMode_ = choice.kind == CommandLineChoice::Trace;
    // The ports that cannot be opened are named where they matter: in trace mode, and when the
    // run needs one of them. A successful scheduled run stays silent.
    if (traceMode_ || (choice.kind == CommandLineChoice::AutoMode &&
                       !ports_->probe().usable.at(data_.comPort - 1)))
        ports_->printUnusable();
    runner_ = std::make_unique<ScriptRunner>(runSide_, traceMode_ ? &runSide_ : nullptr, &runLog_);
    connect(runner_.get(), &ScriptRunner::finished, this, &MainWindow::finishRun);
    runner_->setSkipCheck([](const QString &line) { return checkScriptLine(line).skipReason; });
    if (choice.kind == CommandLineChoice::AutoMode)
        runLog_.setStartedAs(display_ ? QStringLiteral("AutoMode")
                                      : QStringLiteral("AutoMode ohne grafische Oberfläche"));
    else
        runLog_.setStartedAs(traceMode_ ? QStringLiteral("Fenster mit Debugger")
                                        : QStringLiteral("Fenster"));

    switch (choice.kind) {
    case CommandLineChoice::Interactive:
        return std::nullopt;
    case CommandLineChoice::Trace:
        traceWindow_ = std::make_unique<TraceWindow>(dialogs_);
        runSide_.setTraceWindow(traceWindow_.get());
        traceWindow_->show();
        return std::nullopt;
    case CommandLineChoice::AutoMode:
        autoMode_ = true;
        setWindowTitle(QStringLiteral("Telmaris (AutoMode %1)").arg(choice.slot));
        selectTab(choice.slot);
        if (!display_ && asksForInput(editors_[data_.umbruch]->crlfText())) {
            // Refused before the port is opened: nothing half-programmed.
            QTextStream(stderr) << texts::NeedsInputLine.arg(choice.slot) << Qt::endl;
            runLog_.refused(choice.slot,
                            optionsPage_->getSkriptNameFromListbySkriptIndex(choice.slot),
                            texts::NeedsInputLine.arg(choice.slot));
            reportRunLogFailure();
            return ExitRunFailed;
        }
        runner_->setAnswerTimeLimit(answerTimeLimit_);
        if (!startRun())
            return ExitRunFailed;
        return std::nullopt;
    case CommandLineChoice::Unknown:
        break;
    }
    dialogs_.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"), choice.message);
    return ExitUnknownParameter;
}

void MainWindow::selectTab(int tab) {
    navigation_->selectTab(tab);
}

int MainWindow::currTab() const {
    return navigation_->currTab();
}

// ---------------------------------------------------------------------------------------
// Buttons

void MainWindow::programClicked() {
    if (running())
        runner_->requestAbort();
    else
        startRun();
}

bool MainWindow::startRun() {
    if (!navigation_->storeCurrentText())
        return false; // the run would program a text that is not stored
    if (!acceptMarkedLines())
        return false;
    if (traceMode_)
        runSide_.addTrace(TraceSeparator);
    runner_->start(data_, ports_->map(),
                   optionsPage_->getSkriptNameFromListbySkriptIndex(data_.currSkript), autoMode_);
    return true;
}

void MainWindow::finishRun(RunOutcome outcome) {
    reportRunLogFailure();
    Q_EMIT runEnded(outcome);
    if (autoMode_ && stopRequested_)
        // No box for it: the program ends. A scheduled job's log says why.
        QTextStream(stderr) << "Telmaris: " << texts::SignalMessage.arg(stopSignal_) << Qt::endl;
    if (autoMode_)
        Q_EMIT exitRequested(outcome == RunOutcome::Success ? ExitSuccess : ExitRunFailed);
    else if (stopRequested_)
        // Once the runner is done with its signal.
        QMetaObject::invokeMethod(this, &MainWindow::closeAsEnd, Qt::QueuedConnection);
}

void MainWindow::stopForSignal(const QString &signalName) {
    stopRequested_ = true;
    stopSignal_ = signalName;
    const bool unattended = autoMode_ || (pendingStart_ && !wantsWindow(pendingStart_->argument));
    pendingStart_.reset(); // a start-up waiting for its probe goes no further
    if (running())
        runner_->stopForSignal(signalName); // the rest follows when the run is over
    else if (unattended)
        Q_EMIT exitRequested(ExitRunFailed);
    else
        closeAsEnd();
}

void MainWindow::setDeviceDetector(DeviceDetector detector) {
    ports_->setDeviceDetector(std::move(detector));
}

void MainWindow::portsProbed() {
    if (pendingStart_)
        finishStartUp();
    else
        enableWhatOpensPorts();
}

// A run and the modem test open a port: neither starts while a probe holds the ports, nor
// before the start-up's probe has told which ports can be used.
void MainWindow::enableWhatOpensPorts() {
    const bool portsKnown = !pendingStart_ && !ports_->probing();
    programButton_->setEnabled(runSide_.running() ||
                               (portsKnown && navigation_->currTab() != OptionsTab));
    optionsPage_->setModemTestAllowed(!runSide_.running() && portsKnown);
}

// Once per program start, after the run: in the status line, where it does not stop anyone;
// an AutoMode run ends the program at once, so there it is also one line on standard error.
void MainWindow::reportRunLogFailure() {
    const std::optional<QString> failure = runLog_.takeFailure();
    if (!failure)
        return;
    status(texts::RunLogFailedStatus.arg(*failure));
    if (autoMode_)
        QTextStream(stderr) << texts::RunLogFailedLine.arg(*failure) << Qt::endl;
}

void MainWindow::openRunLog() {
    if (QFileInfo(runLog_.path()).isFile())
        opener_.open(QUrl::fromLocalFile(runLog_.path()));
    else
        dialogs_.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                             texts::NoRunLogYetMessage.arg(runLog_.path()));
}

// Lines the editor marks as skipped will not reach the line. A window run asks first, "Nein"
// being the default; an unattended run goes on and names each of them on standard error.
bool MainWindow::acceptMarkedLines() {
    const QList<MarkedLine> marked = markedLines(runSide_.editorText());
    if (marked.isEmpty())
        return true;
    if (autoMode_) {
        for (const MarkedLine &line : marked)
            QTextStream(stderr) << markedLineWarning(data_.currSkript, line) << Qt::endl;
        return true;
    }
    return dialogs_.askYesNo(QStringLiteral("Telmaris"), markedLinesQuestion(marked));
}

void MainWindow::helpClicked() {
    showHelp(programDir_, dialogs_, opener_);
}

// The close request stores the script and the settings; it is refused when the text could not
// be stored the first time.
void MainWindow::endClicked() {
    closeAsEnd();
}

void MainWindow::closeAsEnd() {
    if (close() && traceMode_ && traceWindow_)
        traceWindow_->close();
}

void MainWindow::infoClicked() {
    info_->showInfo();
}

void MainWindow::optionsClicked() {
    selectTab(OptionsTab);
}

bool MainWindow::running() const {
    return runner_ && runner_->running();
}

// ---------------------------------------------------------------------------------------
// The close request

void MainWindow::closeEvent(QCloseEvent *event) {
    if (running()) {
        runSide_.beep();
        event->ignore();
        show();
        return;
    }
    navigation_->leaveOptionsPage();
    pendingStart_.reset(); // closed before the probe was in: nothing more starts
    if (!store_.storeForClose(data_.currSkript, EditBoxText(editors_[data_.umbruch]),
                              startDataEntries(data_, optionsPage_->allNames()),
                              ports_->map().changedEntries())) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::status(const QString &text) {
    runSide_.status(text);
}

} // namespace telmaris
