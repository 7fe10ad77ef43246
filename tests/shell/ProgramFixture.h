#pragma once
// A started Telmaris window on a temporary program folder: the real settings file, COM 1 on
// the modem simulator (COM 2 on a second one when asked), COM 3 and 4 on devices that do not
// exist, and scripted dialogs. Helpers reach the window's controls by their names.
// Windows has no pseudo-terminal for the simulator: there every COM port names a device that
// does not exist, and no port can be opened.

#include "RecordingOpener.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "editor/ScriptEdit.h"
#include "shell/MainWindow.h"
#include "store/IniFile.h"
#include "trace/TraceWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <memory>

// After the Qt headers, which define Q_OS_WIN.
#ifndef Q_OS_WIN
#include "PtyModem.h"
#endif

namespace telmaris::test {

inline void typeAtEnd(ScriptEdit *edit, const QString &text) {
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, text);
}

// Whether COM 1 (and COM 2 when asked) lies on the modem simulator.
#ifdef Q_OS_WIN
inline constexpr bool WithModem = false;
#else
inline constexpr bool WithModem = true;
#endif

// What runState() says of a window ready for the next run.
inline const QString IdleState = QStringLiteral("&Programmieren on on on on on on editable");

class ProgramFixture {
public:
    // dataSection: the lines of section [Data] (without the section line); ComPort=1 is added
    // when they name no port, so that start-up asks nothing.
    explicit ProgramFixture(const QByteArray &dataSection, bool secondModem = false);
    // The device the settings file names for COM 1..4.
    QString device(int comPort) const;

    // Starts with the argument and waits until the start-up is complete (the ports probed), or
    // with untilExit until the process is to end, as after an AutoMode run or a refused start:
    // nothing when it went on, or the exit status.
    std::optional<int> start(const QString &argument = QString(), bool untilExit = false) {
        QSignalSpy up(window.get(), &MainWindow::startedUp);
        QSignalSpy end(window.get(), &MainWindow::exitRequested);
        if (const std::optional<int> refused = window->init(argument))
            return refused;
        if (!QTest::qWaitFor([&] { return !end.isEmpty() || (!up.isEmpty() && !untilExit); },
                             60000))
            return -1;
        return end.isEmpty() ? std::nullopt : std::optional<int>(end.first().first().toInt());
    }
    // Starts as a command line with a script number or name does: the exit status.
    int runAutoMode(const QString &argument) { return *start(argument, true); }

    // Starts interactively and waits until the window is on screen. Without a modem the window
    // opens on the options page and says that no port can be opened; the user then goes to
    // the stored slot, and the box is no longer counted.
    bool open() {
        if (start() || !QTest::qWaitForWindowExposed(window.get()))
            return false;
        if (WithModem)
            return true;
        const bool told = shownTab() == OptionsTab && dialogs.texts.size() == 1 &&
                          dialogs.texts[0].startsWith(QStringLiteral("Keine der Schnittstellen"));
        dialogs.texts.clear();
        dialogs.messages.clear();
        clickTab(qMax(1, stored(QStringLiteral("CurrSkript")).toInt()));
        return told;
    }

    // A value of section [Data] as the file holds it now.
    QString stored(const QString &key) const {
        return IniSnapshot::load(folder.iniPath()).value(DataSection, key);
    }

    template <class T = QWidget> T *child(const QString &name) const {
        T *found = window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QString statusLine() const { return child<QLabel>("statusLine")->text(); }
    QPushButton *button(const char *name) const {
        return child<QPushButton>(QString::fromLatin1(name));
    }
    QTabBar *tabs() const { return child<QTabBar>("scriptTabs"); }
    // The tab shown: 1..100 a slot, 101 the options page.
    int shownTab() const { return tabs()->currentIndex() + 1; }
    // The editor box without line wrap, or with it.
    ScriptEdit *editor(int umbruch = 0) const {
        return child<ScriptEdit>(umbruch ? "wrappingScriptEdit" : "scriptEdit");
    }
    // A run is going: the start button offers to abort it.
    bool running() const { return button("programButton")->text() == QStringLiteral("&Abbrechen"); }
    // The trace window of a start in trace mode; null without one.
    static TraceWindow *traceWindow() {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *trace = qobject_cast<TraceWindow *>(widget))
                return trace;
        return nullptr;
    }
    // Clicks tab n (1..101) with the mouse when it is in view, else selects it like the slider.
    void clickTab(int tab) const {
        const QRect rect = tabs()->tabRect(tab - 1);
        if (tabs()->rect().adjusted(0, 0, -60, 0).contains(rect))
            QTest::mouseClick(tabs(), Qt::LeftButton, {}, rect.center());
        else
            tabs()->setCurrentIndex(tab - 1);
    }

    // The start button's caption, whether the controls a run locks are usable, the editor.
    QString runState() const {
        QString state = button("programButton")->text();
        for (QWidget *control :
             QWidgetList{button("programButton"), button("helpButton"), button("endButton"),
                         button("optionsButton"), tabs(), child("scriptSlider")})
            state += control->isEnabled() ? " on" : " off";
        return state + (editor()->isReadOnly() ? " locked" : " editable");
    }

    // Presses "&Programmieren" and returns when the run is over (at once when none started).
    // A run still going after timeoutMs is aborted the way a user would, and counts as hung.
    bool runToEnd(int timeoutMs = 30000) {
        bool hung = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            hung = true;
            QTest::mouseClick(button("programButton"), Qt::LeftButton);
        });
        QSignalSpy ended(window.get(), &MainWindow::runEnded);
        watchdog.start(timeoutMs);
        QTest::mouseClick(button("programButton"), Qt::LeftButton);
        if (running() && ended.isEmpty())
            (void)ended.wait(timeoutMs + 10000);
        return !hung && !running();
    }

    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    RecordingOpener opener;
    std::unique_ptr<MainWindow> window;

#ifndef Q_OS_WIN
    PtyModem modem1;
    std::unique_ptr<PtyModem> modem2; // when asked for
#endif
};

inline ProgramFixture::ProgramFixture(const QByteArray &dataSection,
                                      [[maybe_unused]] bool secondModem) {
#ifndef Q_OS_WIN
    if (secondModem)
        modem2 = std::make_unique<PtyModem>();
#endif
    QByteArray ini = "[Data]\n" +
                     QByteArray(dataSection.contains("ComPort=") ? "" : "ComPort=1\n") +
                     dataSection + "\n[Ports]\n";
    for (int n = 1; n <= 4; ++n)
        ini += QStringLiteral("COM%1=%2\n").arg(n).arg(device(n)).toUtf8();
    folder.writeIni(ini);
    window = std::make_unique<MainWindow>(folder.path(), dialogs, &opener);
}

inline QString ProgramFixture::device(int comPort) const {
#ifndef Q_OS_WIN
    if (comPort == 1 || (comPort == 2 && modem2))
        return (comPort == 1 ? modem1 : *modem2).devicePath();
#endif
    return folder.filePath(QStringLiteral("no-such-port-%1").arg(comPort));
}

} // namespace telmaris::test
