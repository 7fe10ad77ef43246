#include "shell/MainWindow.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "editor/ScriptEdit.h"
#include "help/DesktopOpener.h"
#include "help/Help.h"
#include "info/Artwork.h"
#include "info/InfoDialog.h"
#include "runner/ScriptLanguage.h"
#include "shell/CommandLine.h"
#include "store/AutoModeSettings.h"
#include "store/OptionsPage.h"
#include "store/StartDataFile.h"
#include "trace/TraceWindow.h"

#include <QApplication>
#include <QCloseEvent>
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

namespace {

// The store sees an editor box as its CR LF text.
class EditBoxText : public EditorText {
public:
    explicit EditBoxText(ScriptEdit *edit) : edit_(edit) {}
    QString text() const override { return edit_->crlfText(); }
    void setText(const QString &text) override { edit_->setCrlfText(text); }

private:
    ScriptEdit *edit_;
};

} // namespace

MainWindow::MainWindow(QString programDir, Dialogs &dialogs, DocumentOpener *opener,
                       QWidget *parent)
    : QMainWindow(parent), programDir_(std::move(programDir)), dialogs_(dialogs),
      ownOpener_(opener ? nullptr : std::make_unique<DesktopOpener>()),
      opener_(opener ? *opener : *ownOpener_), info_(std::make_unique<InfoDialogHolder>(opener_)),
      ini_(QString()), slots_(ini_) {
    setObjectName(QStringLiteral("Form1"));
    BuildWindow();
    setWindowTitle(QStringLiteral("Telmaris"));
    resize(720, 520);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildWindow() {
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(4);

    SkriptSlider = new QSlider(Qt::Horizontal, central);
    SkriptSlider->setObjectName(QStringLiteral("SkriptSlider"));
    SkriptSlider->setRange(1, OptionsTab);
    SkriptSlider->setSingleStep(1);
    SkriptSlider->setPageStep(10);
    SkriptSlider->setTickPosition(QSlider::TicksBelow);
    SkriptSlider->setTickInterval(10);
    SkriptSlider->setTracking(false); // a drag selects the tab where it is let go
    connect(SkriptSlider, &QSlider::valueChanged, this, &MainWindow::ValidateSkriptSlider);
    layout->addWidget(SkriptSlider);

    TabStrip1 = new QTabBar(central);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setUsesScrollButtons(true);
    TabStrip1->setExpanding(false);
    TabStrip1->setElideMode(Qt::ElideNone);
    TabStrip1->setDrawBase(false);
    TabStrip1->setFocusPolicy(Qt::StrongFocus);
    for (int n = 1; n <= SlotCount; ++n)
        TabStrip1->addTab(QString::number(n));
    TabStrip1->addTab(QStringLiteral("Optionen"));
    layout->addWidget(TabStrip1);

    Layer = new QStackedWidget(central);
    Layer->setObjectName(QStringLiteral("Layer"));
    Layer->setFrameShape(QFrame::StyledPanel);
    Options = new OptionsPage(data_, dialogs_, Layer);
    Layer->addWidget(Options);

    auto *scriptPage = new QWidget(Layer);
    scriptPage->setObjectName(QStringLiteral("Layer1"));
    EditStack = new QStackedLayout(scriptPage);
    EditStack->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        Edit_[i] = new ScriptEdit(i == 1, scriptPage);
        Edit_[i]->setObjectName(QStringLiteral("Edit%1").arg(i));
        EditStack->addWidget(Edit_[i]);
        connect(Edit_[i], &ScriptEdit::edited, this, [this] { slots_.SkriptChanged = true; });
        AddHint(Edit_[i]->viewport(), texts::EditorHint);
    }
    EditStack->setCurrentIndex(0);
    Layer->addWidget(scriptPage);
    Layer->setCurrentIndex(1);
    layout->addWidget(Layer, 1);

    layout->addWidget(BuildButtonRow());
    setCentralWidget(central);

    // The status line changes with every answer of the modem, twice per command. Held by a
    // widget without a layout, a new text only repaints the label: in a layout each text would
    // lay out the whole window again. A long text is cut at the window's edge.
    statusHolder_ = new QWidget(this);
    StatusDisplay = new QLabel(QStringLiteral(" "), statusHolder_);
    StatusDisplay->setObjectName(QStringLiteral("StatusDisplay"));
    StatusDisplay->setTextFormat(Qt::PlainText);
    StatusDisplay->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusHolder_->setFixedHeight(StatusDisplay->sizeHint().height());
    statusHolder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    statusHolder_->setAttribute(Qt::WA_TransparentForMouseEvents);
    statusHolder_->installEventFilter(this); // the label follows the holder's size
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(statusHolder_, 1);

    connect(TabStrip1, &QTabBar::currentChanged, this, &MainWindow::TabStrip1_Click);
    // A click on the tab already shown runs the tab switch as well (and then neither stores
    // nor loads a text).
    connect(TabStrip1, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == TabStrip1->currentIndex())
            TabStrip1_Click();
    });
    connect(Options, &OptionsPage::UmbruchChanged, this, &MainWindow::MitUmbruchChk_Click);
    connect(Options, &OptionsPage::LineLenChanged, this, [this](int lineLen) {
        for (ScriptEdit *edit : Edit_)
            edit->setLineLen(lineLen);
    });

    AddHint(SkriptSlider, texts::SliderHint);
    AddHint(TabStrip1, texts::TabStripHint);
    AddHint(statusBar(), texts::StatusLineHint);
    AddHint(Options->UmbruchFrame(), texts::EditorHint);
    AddHint(Options->SkriptNameListBox()->viewport(), texts::NameListHint);
}

QWidget *MainWindow::BuildButtonRow() {
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(4);

    Image1 = new QLabel(row);
    Image1->setObjectName(QStringLiteral("Image1"));
    // The logo as high as the buttons, so the row fits a 640-pixel window.
    const QPixmap logo = SmallLogoPicture().scaledToHeight(26, Qt::SmoothTransformation);
    Image1->setPixmap(logo);
    Image1->setFixedSize(logo.size());
    Image1->setCursor(LogoPointer());
    Image1->setToolTip(LogoToolTip());
    Image1->installEventFilter(this); // a click opens the maker's web site
    layout->addWidget(Image1);

    const QString captions[5] = {QStringLiteral("&Programmieren"), QStringLiteral("&Hilfe"),
                                 QStringLiteral("&Ende"), QStringLiteral("&Info"),
                                 QStringLiteral("&Optionen")};
    for (int i = 0; i < 5; ++i) {
        Command1[i] = new QPushButton(captions[i], row);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    QFont bold = Command1[0]->font();
    bold.setBold(true);
    Command1[0]->setFont(bold);

    // The four small buttons share one width; "&Programmieren" is three and a half times as
    // wide: the room of the row is shared 2:2:2:2:7.
    int small = 0;
    for (int i = 1; i < 5; ++i) {
        const QString caption = Command1[i]->text().remove(u'&');
        small = std::max(small, Command1[i]->fontMetrics().horizontalAdvance(caption) + 12);
    }
    for (int i : {3, 1, 2, 4}) {
        Command1[i]->setMinimumWidth(small);
        Command1[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(Command1[i], 2);
    }
    Command1[0]->setMinimumWidth(small * 7 / 2);
    Command1[0]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(Command1[0], 7);

    setTabOrder(Command1[0], Command1[4]);
    setTabOrder(Command1[4], Command1[2]);
    setTabOrder(Command1[2], Command1[1]);
    setTabOrder(Command1[1], Command1[3]);

    AddHint(Command1[0], texts::ProgramButtonHint);
    AddHint(Command1[1], texts::HelpButtonHint);
    AddHint(Command1[2], texts::EndButtonHint);
    AddHint(Command1[3], texts::InfoButtonHint);
    return row;
}

void MainWindow::AddHint(QWidget *widget, const QString &hint) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    hints_.insert(widget, hint);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == statusHolder_ && event->type() == QEvent::Resize) {
        StatusDisplay->setGeometry(statusHolder_->rect());
        return false;
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        OpenWebSite(opener_);
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        // Only the control itself shows its hint; a move over a control inside it (the check
        // box in its frame, the tab bar's scroll buttons) that reaches it does not.
        const auto hint = hints_.constFind(watched);
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (hint != hints_.constEnd() && !static_cast<QWidget *>(watched)->childAt(at))
            Status(*hint);
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Start-up

std::optional<int> MainWindow::Init(const QString &argument, bool display) {
    // The speed table is a constant; the pages are laid out by the constructor with the
    // script page in front.
    Layer->setCurrentIndex(1);
    setWindowTitle(QStringLiteral("Telmaris"));
    ini_ = IniFile(LocateIniFile(programDir_));

    // A file that is there but cannot be read is reported; the program goes on with the
    // defaults, and the failed re-read at the end keeps the file from being overwritten.
    QString readError;
    const IniSnapshot snapshot = ini_.snapshot(&readError);
    if (!readError.isEmpty())
        dialogs_.ShowMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                             SettingsNotReadMessage(ini_.path(), readError));
    ports_ = PortMap::FromIni(snapshot);
    display_ = display;
    answerTimeLimit_ = ReadAnswerTimeLimit(snapshot, display);
    const PortProbe probe = CheckComPorts(ports_);
    if (!probe.anyUsable()) {
        dialogs_.ShowMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                             texts::NoComPortsMessage);
        return ExitNoSerialPort;
    }
    std::array<QString, 4> devices;
    for (int i = 0; i < 4; ++i)
        devices[i] = ports_.device(i + 1);
    Options->SetPorts(probe, devices);

    show();

    const StoredStartData stored = ReadStartDataFromIniFile(snapshot, probe.usable);
    Options->SelectPort(stored.data.ComPort);
    data_.ComPort = stored.data.ComPort;
    if (stored.askToCheckPort)
        dialogs_.ShowMessage(MessageIcon::Question, QStringLiteral("Telmaris"),
                             texts::CheckPortMessage);
    Options->SetModemReset(stored.data.ModemReset);
    Options->SetModemInit(stored.data.ModemInit);
    Options->SetSpeed(stored.data.ModemSpeed);
    Options->SetDialPuls(stored.data.DialPuls);
    Options->SetLineLen(stored.data.LineLen);
    Options->SetUmbruch(stored.data.Umbruch);
    Options->FillNames(stored.names);
    for (int n = 1; n <= SlotCount; ++n) {
        // The tab bar takes "&" as a shortcut mark; a name shows every "&" it holds, and the
        // command line compares the caption as it is.
        const QString caption = TabCaption(n, stored.names[n - 1]);
        TabStrip1->setTabText(n - 1, QString(caption).replace(u'&', QStringLiteral("&&")));
        TabStrip1->setTabData(n - 1, caption);
    }
    TabStrip1->setTabText(OptionsTab - 1, QStringLiteral("Optionen"));
    // The stored slot counts as shown already: selecting its tab neither stores nor loads.
    CurrTab_ = stored.data.CurrSkript;
    data_.CurrSkript = stored.data.CurrSkript;
    SelectTab(stored.data.CurrSkript);

    EditBoxText visible(Edit_[data_.Umbruch]);
    slots_.ReadCurrSkriptText(data_.CurrSkript, snapshot, visible);

    return EvaluateCommandLine(argument);
}

std::optional<int> MainWindow::EvaluateCommandLine(const QString &argument) {
    QStringList captions;
    for (int n = 1; n <= SlotCount; ++n)
        captions << TabStrip1->tabData(n - 1).toString();
    const CommandLineChoice choice = ResolveCommandLine(argument, captions);

    TraceMode_ = choice.kind == CommandLineChoice::Trace;
    runner_ = std::make_unique<ScriptRunner>(*this, TraceMode_ ? this : nullptr);

    switch (choice.kind) {
    case CommandLineChoice::Interactive:
        return std::nullopt;
    case CommandLineChoice::Trace:
        traceWindow_ = std::make_unique<TraceWindow>();
        traceWindow_->show();
        return std::nullopt;
    case CommandLineChoice::AutoMode:
        AutoMode_ = true;
        setWindowTitle(QStringLiteral("Telmaris (AutoMode %1)").arg(choice.slot));
        SelectTab(choice.slot);
        if (!display_ && AsksForInput(Edit_[data_.Umbruch]->crlfText())) {
            // Refused before the port is opened: nothing half-programmed.
            QTextStream(stderr) << texts::NeedsInputLine.arg(choice.slot) << Qt::endl;
            return ExitRunFailed;
        }
        runner_->SetAnswerTimeLimit(answerTimeLimit_);
        lastOutcome_.reset();
        Command1[0]->click();
        return lastOutcome_ == RunOutcome::Success ? ExitSuccess : ExitRunFailed;
    case CommandLineChoice::Unknown:
        break;
    }
    dialogs_.ShowMessage(MessageIcon::Critical, QStringLiteral("Telmaris"), choice.message);
    return ExitUnknownParameter;
}

// ---------------------------------------------------------------------------------------
// Tabs, slider and wrap mode

void MainWindow::SelectTab(int tab) {
    if (TabStrip1->currentIndex() == tab - 1)
        TabStrip1_Click();
    else
        TabStrip1->setCurrentIndex(tab - 1);
}

void MainWindow::TabStrip1_Click() {
    if (inTabSwitch_)
        return; // the tab bar moving back after a failed store
    const int NewTab = TabStrip1->currentIndex() + 1;
    SkriptSlider->setValue(NewTab);

    if (CurrTab_ == OptionsTab) {
        // Leaving the options page takes the port; with no button selected it stays.
        if (const int port = Options->SelectedPort(); port != 0)
            data_.ComPort = qint16(port);
    }

    bool storeFailed = false;
    if (NewTab != CurrTab_)
        storeFailed = !WriteCurrSkriptText();

    if (storeFailed) {
        // The text of the slot being left is still only in the editor: stay with that slot,
        // so that nothing is lost.
        inTabSwitch_ = true;
        TabStrip1->setCurrentIndex(data_.CurrSkript - 1);
        SkriptSlider->setValue(data_.CurrSkript);
        inTabSwitch_ = false;
        Command1[0]->setEnabled(true);
        Layer->setCurrentIndex(1);
        Edit_[data_.Umbruch]->setFocus();
        CurrTab_ = data_.CurrSkript;
        return;
    }

    if (NewTab == OptionsTab) {
        Command1[0]->setEnabled(false);
        Layer->setCurrentIndex(0);
        Status(texts::OptionsPageStatus);
    } else {
        if (CurrTab_ == OptionsTab)
            Command1[0]->setEnabled(true);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        Layer->setCurrentIndex(1);
        Status(texts::ScriptPageStatus);
        data_.CurrSkript = qint16(NewTab);
        if (NewTab != CurrTab_) {
            EditBoxText visible(Edit_[data_.Umbruch]);
            slots_.ReadCurrSkriptText(data_.CurrSkript, visible);
        }
        Edit_[data_.Umbruch]->setFocus();
        QApplication::restoreOverrideCursor();
    }
    CurrTab_ = NewTab;
}

void MainWindow::ValidateSkriptSlider() {
    if (SkriptSlider->value() != TabStrip1->currentIndex() + 1)
        SelectTab(SkriptSlider->value());
}

void MainWindow::MitUmbruchChk_Click(int umbruch) {
    EditStack->setCurrentIndex(umbruch);
}

// ---------------------------------------------------------------------------------------
// Buttons

void MainWindow::Command1_Click(int Index) {
    switch (Index) {
    case 0:
        if (Running()) {
            runner_->RequestAbort();
            return;
        }
        if (!WriteCurrSkriptText())
            return; // the run would program a text that is not stored
        if (TraceMode_)
            AddTrace(TraceSeparator);
        lastOutcome_ = runner_->SendSkript(
            data_, ports_, Options->GetSkriptNameFromListbySkriptIndex(data_.CurrSkript),
            AutoMode_);
        return;
    case 1:
        ShowHelp(programDir_, dialogs_, opener_);
        return;
    case 2:
        // The close request stores the script and the settings; it is refused when the text
        // could not be stored the first time.
        if (!close())
            return;
        if (TraceMode_ && traceWindow_)
            traceWindow_->close();
        return;
    case 3:
        info_->ShowInfo();
        return;
    case 4:
        SelectTab(OptionsTab);
        return;
    default:
        return;
    }
}

bool MainWindow::Running() const {
    return runner_ && runner_->Running();
}

// ---------------------------------------------------------------------------------------
// Storing texts and the close request

bool MainWindow::WriteCurrSkriptText() {
    EditBoxText visible(Edit_[data_.Umbruch]);
    QString reason;
    if (slots_.WriteCurrSkriptText(data_.CurrSkript, visible, &reason)) {
        saveFailureReported_ = false;
        return true;
    }
    ReportScriptNotSaved(reason);
    return false;
}

// At the end the changed script and the settings are stored in one write, so the file is
// replaced once. A text that cannot be stored keeps the window open once, so that the user can
// still copy it; a second attempt closes all the same and reports the settings as not stored.
bool MainWindow::StoreForClose() {
    const bool scriptChanged = slots_.SkriptChanged;
    IniEntries entries;
    if (scriptChanged)
        entries.append(
            ScriptSlots::SkriptTextEntry(data_.CurrSkript, EditBoxText(Edit_[data_.Umbruch])));
    entries.append(StartDataEntries(data_, Options->AllNames()));
    QString reason;
    if (ini_.WriteIniBatch(DataSection, entries, &reason)) {
        slots_.SkriptChanged = false;
        saveFailureReported_ = false;
        return true;
    }
    if (scriptChanged && !saveFailureReported_) {
        ReportScriptNotSaved(reason);
        saveFailureReported_ = true;
        return false;
    }
    dialogs_.ShowMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                         scriptChanged ? ScriptAndSettingsNotSavedMessage(data_.CurrSkript, reason)
                                       : SettingsNotSavedMessage(reason));
    return true;
}

void MainWindow::ReportScriptNotSaved(const QString &reason) {
    Status(texts::ScriptNotSavedStatus);
    dialogs_.ShowMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                         ScriptNotSavedMessage(data_.CurrSkript, reason));
}

void MainWindow::closeEvent(QCloseEvent *event) {
    if (Running()) {
        Beep();
        event->ignore();
        show();
        return;
    }
    if (!StoreForClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------
// What a run sees of the window

void MainWindow::Status(const QString &text) {
    StatusDisplay->setText(u' ' + text);
}

void MainWindow::ShowMessage(MessageIcon icon, const QString &title, const QString &text) {
    dialogs_.ShowMessage(icon, title, text);
}

QString MainWindow::InputBox(const QString &title, const QString &prompt) {
    return dialogs_.AskText(title, prompt, QString()).value_or(QString());
}

void MainWindow::Beep() {
    QApplication::beep();
}

QString MainWindow::EditorText() const {
    return Edit_[data_.Umbruch]->crlfText();
}

void MainWindow::SetEditorLocked(bool locked) {
    Edit_[data_.Umbruch]->setLocked(locked);
}

void MainWindow::SelectEditorRange(int start, int length) {
    Edit_[data_.Umbruch]->select(start, length);
}

int MainWindow::EditorCaret() const {
    return Edit_[data_.Umbruch]->selStart();
}

void MainWindow::SetEditorCaret(int position) {
    Edit_[data_.Umbruch]->setCaret(position);
}

void MainWindow::FocusEditor() {
    Edit_[data_.Umbruch]->setFocus();
}

// A run keeps the slot it started with: the tab strip and the slider are locked with "&Ende"
// and "&Optionen", so the runner never reads another script's lines and "&Abbrechen" stays
// reachable.
void MainWindow::SetRunState(bool running) {
    Command1[0]->setText(running ? QStringLiteral("&Abbrechen") : QStringLiteral("&Programmieren"));
    Command1[2]->setEnabled(!running);
    Command1[4]->setEnabled(!running);
    TabStrip1->setEnabled(!running);
    SkriptSlider->setEnabled(!running);
}

void MainWindow::AddTrace(const QString &line) {
    if (traceWindow_)
        traceWindow_->AddTrace(line);
}

} // namespace telmaris
