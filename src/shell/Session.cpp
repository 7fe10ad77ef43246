#include "shell/Session.h"

#include "common/ConsoleText.h"
#include "common/UserTexts.h"
#include "editor/ScriptLint.h"
#include "language/ScriptLanguage.h"
#include "options/OptionsPage.h"
#include "shell/CommandLine.h"
#include "shell/EditBoxText.h"
#include "shell/PortHandling.h"
#include "shell/SettingsStore.h"
#include "shell/SlotNavigation.h"
#include "shell/StartUp.h"
#include "shell/WindowRunSide.h"
#include "store/AutoModeSettings.h"
#include "store/RescueFile.h"
#include "store/StartDataFile.h"
#include "trace/TraceWindow.h"

#include <QDir>
#include <QMainWindow>
#include <QTabBar>

namespace telmaris {

namespace {

// A message about ports that cannot be opened, and below it what lets the user open them where
// that is a matter of the device's group, the commonest cause with a newly plugged modem.
QString withGroupRemedies(QString message, const PortProbe &probe) {
    for (const QString &remedy : probe.distinctGroupRemedies())
        message += u'\r' + remedy;
    return message;
}

} // namespace

Session::Session(QString programDir, const SessionParts &parts, QObject *parent)
    : QObject(parent), programDir_(std::move(programDir)), parts_(parts) {
    connect(&parts_.ports, &PortHandling::probed, this, &Session::portsProbed);
    parts_.optionsPage.setRunLogPath(QDir::toNativeSeparators(runLog_.path()));
    // A new name shows on its tab at once.
    connect(&parts_.optionsPage, &OptionsPage::skriptRenamed, this, &Session::showTabCaption);
    // A script another copy stored meanwhile: the user chooses; ended by a signal or the end of
    // the desktop session nobody can, and both texts are kept, the own one in a file of its own.
    parts_.store.setOtherCopyAnswers(
        {[this](const QString &question) {
             return !stopRequested_ && !sessionEnding_ &&
                    parts_.dialogs.askYesNo(QStringLiteral("Telmaris"), question);
         },
         [this](const QString &text) {
             if (stopRequested_ || sessionEnding_)
                 printErrorLine("Telmaris: " + QString(text).replace(u'\r', u' '));
             else
                 parts_.dialogs.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                                            text);
         }});
}

Session::~Session() = default;

void Session::showTabCaption(int n, const QString &name) {
    // The tab bar takes "&" as a shortcut mark; a name shows every "&" it holds, and the
    // command line compares the caption as it is.
    const QString caption = tabCaption(n, name);
    parts_.tabs.setTabText(n - 1, QString(caption).replace(u'&', QStringLiteral("&&")));
    parts_.tabs.setTabData(n - 1, caption);
}

// ---------------------------------------------------------------------------------------
// Start-up

std::optional<int> Session::init(const QString &argument, bool display) {
    parts_.window.setWindowTitle(QStringLiteral("Telmaris"));
    const IniSnapshot snapshot = parts_.store.open(programDir_);
    // The settings in use would be defaults: an unattended run would program an empty slot and
    // report success. The reading error was shown; nothing goes on the line.
    if (parts_.store.readFailed() && !wantsWindow(argument))
        return ExitRunFailed;
    display_ = display;
    unattended_ = !wantsWindow(argument);
    answerTimeLimit_ = readAnswerTimeLimit(snapshot, display);
    // The ports are probed on their own thread while the window shows; what needs to know
    // which of them can be opened (the port in use, the run) waits for the result.
    parts_.ports.startUp(snapshot);

    // The names go into the tabs before the window shows: a tab bar on screen lays all its
    // tabs out again at each caption. The port is the file's until the probe is in.
    const StoredStartData stored = readStartDataFromIniFile(snapshot, {});
    parts_.optionsPage.fillNames(stored.names);
    for (int n = 1; n <= SlotCount; ++n)
        showTabCaption(n, stored.names[n - 1]);
    parts_.tabs.setTabText(OptionsTab - 1, QStringLiteral("Optionen"));

    parts_.window.show();

    parts_.data.comPort = stored.data.comPort;
    parts_.optionsPage.setModemReset(stored.data.modemReset);
    parts_.optionsPage.setModemInit(stored.data.modemInit);
    parts_.optionsPage.setSpeed(stored.data.modemSpeed);
    parts_.optionsPage.setDialPuls(stored.data.dialPuls);
    parts_.optionsPage.setLineLen(stored.data.lineLen);
    parts_.optionsPage.setUmbruch(stored.data.umbruch);
    // The stored slot counts as shown already: selecting its tab neither stores nor loads.
    parts_.navigation.showStoredSlot(stored.data.currSkript);

    EditBoxText visible(parts_.navigation.visibleEditor());
    parts_.store.scripts().readCurrSkriptText(parts_.data.currSkript, snapshot, visible);
    pendingStart_ = PendingStart{argument, snapshot};
    return std::nullopt;
}

// The rest of the start-up, once the probe has told which ports can be opened.
void Session::finishStartUp() {
    const PendingStart start = *pendingStart_;
    pendingStart_.reset();
    const PortProbe &probe = parts_.ports.probe();
    const StoredStartData stored = readStartDataFromIniFile(start.snapshot, probe.usable);
    parts_.data.comPort = stored.data.comPort;
    // An unattended start cannot go on without a port; it names the one its run needs.
    if (!probe.anyUsable() && unattended_) {
        parts_.ports.printUnusable(parts_.data.comPort);
        parts_.dialogs.showMessage(
            MessageIcon::Critical, QStringLiteral("Telmaris"),
            withGroupRemedies(texts::NoComPortsMessage + u'\r' +
                                  texts::NoComPortsReasonLine.arg(parts_.data.comPort),
                              probe));
        Q_EMIT exitRequested(ExitNoSerialPort);
        return;
    }
    parts_.optionsPage.selectPort(stored.data.comPort);
    if (stored.askToCheckPort && unattended_)
        parts_.dialogs.showMessage(MessageIcon::Question, QStringLiteral("Telmaris"),
                                   texts::CheckPortMessage);

    if (const std::optional<int> exitStatus = evaluateCommandLine(start.argument)) {
        Q_EMIT exitRequested(*exitStatus);
        return;
    }
    // A window start without a usable port, without a stored port or on its first start shows
    // the options page: each COM number's device, and why it cannot be used, with the remedy.
    // The stored port stays as it is; "Programmieren" waits for it to become usable. An
    // unattended run has asked above and is under way.
    if (!unattended_ && (!probe.anyUsable() || stored.askToCheckPort)) {
        parts_.navigation.selectTab(OptionsTab);
        if (probe.anyUsable())
            parts_.dialogs.showMessage(MessageIcon::Question, QStringLiteral("Telmaris"),
                                       texts::CheckPortMessage);
        else
            parts_.dialogs.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                                       withGroupRemedies(texts::NoUsablePortMessage, probe));
    }
    Q_EMIT startedUp();
}

std::optional<int> Session::evaluateCommandLine(const QString &argument) {
    QStringList captions;
    for (int n = 1; n <= SlotCount; ++n)
        captions << parts_.tabs.tabData(n - 1).toString();
    const CommandLineChoice choice = resolveCommandLine(argument, captions);

    traceMode_ = choice.kind == CommandLineChoice::Trace;
    // The ports that cannot be opened are named where they matter: all of them in trace mode,
    // the run's own when it cannot be opened. A successful scheduled run stays silent.
    if (traceMode_)
        parts_.ports.printUnusable();
    else if (choice.kind == CommandLineChoice::AutoMode)
        parts_.ports.printUnusable(parts_.data.comPort);
    runner_ = std::make_unique<ScriptRunner>(parts_.runSide, traceMode_ ? &parts_.runSide : nullptr,
                                             &runLog_);
    connect(runner_.get(), &ScriptRunner::finished, this, &Session::finishRun);
    if (countReader_)
        runner_->line().setErrorCountReader(countReader_);
    runner_->setSkipCheck([](const QString &line) { return checkScriptLine(line).skipReason; });
    // Without a display the boxes are lines on standard error, and a scheduled job's mail
    // has to say which script on which port failed.
    runner_->setFailuresNameTheRun(!display_);
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
        traceWindow_ = std::make_unique<TraceWindow>(parts_.dialogs);
        parts_.runSide.setTraceWindow(traceWindow_.get());
        traceWindow_->show();
        return std::nullopt;
    case CommandLineChoice::AutoMode:
        autoMode_ = true;
        parts_.window.setWindowTitle(QStringLiteral("Telmaris (AutoMode %1)").arg(choice.slot));
        parts_.navigation.selectTab(choice.slot);
        if (!display_ && asksForInput(parts_.runSide.editorText())) {
            // Refused before the port is opened: nothing half-programmed.
            printErrorLine(texts::NeedsInputLine.arg(choice.slot));
            runLog_.refused(choice.slot,
                            parts_.optionsPage.getSkriptNameFromListbySkriptIndex(choice.slot),
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
    parts_.dialogs.showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"), choice.message);
    return ExitUnknownParameter;
}

void Session::portsProbed() {
    if (pendingStart_)
        finishStartUp();
}

// ---------------------------------------------------------------------------------------
// Runs

void Session::programClicked() {
    if (running())
        runner_->requestAbort();
    else
        startRun();
}

bool Session::startRun() {
    if (!parts_.navigation.storeCurrentText())
        return false; // the run would program a text that is not stored
    if (!acceptMarkedLines())
        return false;
    if (traceMode_)
        parts_.runSide.addTrace(TraceSeparator);
    runner_->start(parts_.data, parts_.ports.map(),
                   parts_.optionsPage.getSkriptNameFromListbySkriptIndex(parts_.data.currSkript),
                   autoMode_);
    return true;
}

void Session::finishRun(RunOutcome outcome) {
    reportRunLogFailure();
    Q_EMIT runEnded(outcome);
    if (autoMode_ && stopRequested_)
        // No box for it: the program ends. A scheduled job's log says why.
        printErrorLine("Telmaris: " + runner_->runTitle() + ": " +
                       texts::SignalMessage.arg(stopSignal_));
    if (autoMode_)
        Q_EMIT exitRequested(outcome == RunOutcome::Success ? ExitSuccess : ExitRunFailed);
    else if (stopRequested_)
        // Once the runner is done with its signal.
        QMetaObject::invokeMethod(this, &Session::closeAsEnd, Qt::QueuedConnection);
}

void Session::stopForSignal(const QString &signalName) {
    stopRequested_ = true;
    stopSignal_ = signalName;
    if (running()) {
        runner_->stopForSignal(signalName); // the rest follows when the run is over
    } else if (unattended_) {
        pendingStart_.reset(); // a start-up waiting for its probe goes no further
        Q_EMIT exitRequested(ExitRunFailed);
    } else {
        closeAsEnd();
    }
}

// Once per program start, after the run: in the status line, where it does not stop anyone;
// an AutoMode run ends the program at once, so there it is also one line on standard error.
void Session::reportRunLogFailure() {
    const std::optional<QString> failure = runLog_.takeFailure();
    if (!failure)
        return;
    parts_.runSide.status(texts::RunLogFailedStatus.arg(*failure));
    if (autoMode_)
        printErrorLine(texts::RunLogFailedLine.arg(*failure));
}

// Lines the editor marks as skipped will not reach the line. A window run asks first, "Nein"
// being the default; an unattended run goes on and names each of them on standard error.
bool Session::acceptMarkedLines() {
    const QList<MarkedLine> marked = markedLines(parts_.runSide.editorText());
    if (marked.isEmpty())
        return true;
    if (autoMode_) {
        for (const MarkedLine &line : marked)
            printErrorLine(markedLineWarning(parts_.data.currSkript, line));
        return true;
    }
    return parts_.dialogs.askYesNo(QStringLiteral("Telmaris"), markedLinesQuestion(marked));
}

void Session::closeAsEnd() {
    if (parts_.window.close() && traceMode_ && traceWindow_)
        traceWindow_->close();
}

void Session::setErrorCountReader(ErrorCountReader reader) {
    countReader_ = std::move(reader);
    if (runner_)
        runner_->line().setErrorCountReader(countReader_);
}

bool Session::storeForClose() {
    parts_.navigation.leaveOptionsPage();
    EditBoxText editor(parts_.navigation.visibleEditor());
    const SettingsStore::CloseWrite write =
        parts_.store.storeForClose(parts_.data.currSkript, editor,
                                   startDataEntries(parts_.data, parts_.optionsPage.allNames()),
                                   parts_.ports.map().changedEntries());
    if (!write.scriptKept && !letGoOfUnsavedScript(editor.text(), write.reason))
        return false;
    // Closed before the probe was in: nothing more starts. A close refused keeps the window,
    // and its start-up goes on when the probe is in.
    pendingStart_.reset();
    return true;
}

void Session::storeForSessionEnd() {
    sessionEnding_ = true;
    storeForClose();
    sessionEnding_ = false;
}

// A script that could not be stored at the close. Asked by the user, the window stays with the
// text unless the user chooses to lose it; ended by a signal or the end of the desktop session,
// where nobody can answer, the text goes into a rescue file, named on standard error.
bool Session::letGoOfUnsavedScript(const QString &text, const QString &reason) {
    const int n = parts_.data.currSkript;
    const QString script = scriptLabel(n, parts_.optionsPage.getSkriptNameFromListbySkriptIndex(n));
    const QString iniPath = QDir::toNativeSeparators(parts_.store.ini().path());
    if (!stopRequested_ && !sessionEnding_)
        return parts_.dialogs.askYesNo(QStringLiteral("Telmaris"),
                                       texts::CloseUnsavedQuestion.arg(script, iniPath, reason));
    QString rescueError;
    if (const std::optional<QString> rescue = writeRescueFile(iniPath, n, text, &rescueError))
        printErrorLine(texts::ScriptRescuedLine.arg(script, iniPath, reason, *rescue));
    else
        printErrorLine(texts::ScriptNotRescuedLine.arg(script, iniPath, rescueError));
    return true;
}

} // namespace telmaris
