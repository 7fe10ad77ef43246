// Start-up, tab switch and close of the program window with an empty and with a full settings
// file (100 named slots, each holding a 30,000-character script). Start-up is measured from the
// start of a fresh process to the end of the script editor's first paint (offscreen), alternated
// with the bare Qt window of bare_window, whose time is the floor; a tab switch with
// the full file from the selection of another slot's tab to the end of the editor's next paint;
// close as the time the window takes to store the current script and the settings, counting how
// often the settings file is replaced. Prints "name value unit" lines.
//
//   startup_close            runs everything (the child processes are this program again)
//   startup_close --child FOLDER [--close changed|unchanged | --tab-switch]

#include "ModemSimulator.h"
#include "ProgramFolder.h"
#include "editor/ScriptEdit.h"
#include "shell/MainWindow.h"
#include "shell/ProcessStart.h"
#include "shell/StartUp.h"
#include "shell/ToolkitTranslation.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <sys/inotify.h>
#include <unistd.h>

using namespace telmaris;

namespace {

constexpr int Rounds = 7;
constexpr int TabSwitches = 9;

// Fires once, at the window's first paint.
class FirstPaint : public QObject {
public:
    std::function<void()> onPaint;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && onPaint) {
            auto call = std::exchange(onPaint, nullptr);
            QTimer::singleShot(0, this, call); // after the paint has finished
        }
        return QObject::eventFilter(watched, event);
    }
};

// Notes that a paint event reached the watched widget.
class PaintSeen : public QObject {
public:
    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            seen = true;
        return QObject::eventFilter(watched, event);
    }
};

// The editor box of the wrap mode in use.
ScriptEdit *visibleEditor(MainWindow &window) {
    auto *wrapping = window.findChild<ScriptEdit *>(QStringLiteral("wrappingScriptEdit"));
    return wrapping->isVisibleTo(&window)
               ? wrapping
               : window.findChild<ScriptEdit *>(QStringLiteral("scriptEdit"));
}

// Switches between slots 51 and 50 (each a 30,000-character script, slot 50 shown) and
// prints the median time from the tab's selection to the end of the editor's repaint.
void measureTabSwitches(MainWindow &window, QTextStream &out) {
    QWidget *viewport = visibleEditor(window)->viewport();
    PaintSeen paint;
    viewport->installEventFilter(&paint);
    QList<double> times;
    for (int i = 0; i < TabSwitches; ++i) {
        QCoreApplication::processEvents(); // nothing of the last switch is left over
        paint.seen = false;
        QElapsedTimer clock;
        clock.start();
        window.selectTab(i % 2 == 0 ? 51 : 50);
        // The paint runs inside processEvents, so when the flag is seen it is over.
        while (!paint.seen)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        times << clock.nsecsElapsed() / 1.0e6;
    }
    std::sort(times.begin(), times.end());
    out << "tabswitch " << times.at(times.size() / 2) << Qt::endl;
}

// How often the file named name was put into folder (created or renamed there) since the
// watch began.
class ReplacementCounter {
public:
    explicit ReplacementCounter(const QString &folder)
        : fd_(inotify_init1(IN_NONBLOCK)),
          watch_(inotify_add_watch(fd_, QFile::encodeName(folder).constData(),
                                   IN_CREATE | IN_MOVED_TO)) {}
    ~ReplacementCounter() { ::close(fd_); }

    int count(const QByteArray &name) const {
        int found = 0;
        alignas(inotify_event) char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0)
                return found;
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0 && name == event->name)
                    ++found;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
    int watch_;
};

// The program's own start: the process settled before the application object, the toolkit's
// German texts, the window made and initialised; first paint is the editor's.
int runChild(int argc, char *argv[], const QString &folder, const QString &closeMode) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    const StartPlan plan = planStart(beginProcess(argc, argv), [folder] { return folder; });
    const DeviceDetector detector = detectSerialDevicesAhead();
    QApplication app(argc, argv);
    loadGermanToolkitTexts(app, plan.display);
    bench::SilentDialogs dialogs;
    MainWindow window(folder, dialogs);
    window.setDeviceDetector(detector);
    FirstPaint firstPaint;
    for (ScriptEdit *edit : window.findChildren<ScriptEdit *>())
        edit->viewport()->installEventFilter(&firstPaint);
    QTextStream out(stdout);
    firstPaint.onPaint = [&] {
        out << "shown " << sinceMain.nsecsElapsed() / 1.0e6 << Qt::endl;
        if (closeMode == QStringLiteral("changed")) {
            ScriptEdit *edit = visibleEditor(window);
            edit->moveCursor(QTextCursor::End);
            edit->insertPlainText(QStringLiteral("!"));
        }
        if (closeMode == QStringLiteral("tab-switch")) {
            measureTabSwitches(window, out);
        } else if (!closeMode.isEmpty()) {
            ReplacementCounter counter(folder);
            QElapsedTimer closing;
            closing.start();
            window.close();
            out << "closed " << closing.nsecsElapsed() / 1.0e6 << ' '
                << counter.count("Telmaris.Ini") << Qt::endl;
        }
        QCoreApplication::exit(0);
    };
    if (const std::optional<int> status = window.init(QString()))
        return 10 + *status;
    return QCoreApplication::exec();
}

struct ChildResult {
    double sinceSpawnMs = 0; // process start to first paint, as the parent saw it
    double inProcessMs = 0;  // window construction to first paint
    double closeMs = 0;
    int replacements = 0;
    double tabSwitchMs = 0;
};

ChildResult spawn(const QString &program, const QStringList &arguments) {
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice()); // the port probe's lines, Qt's notes
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    ChildResult result;
    while (child.waitForReadyRead(30000)) {
        while (child.canReadLine()) {
            const QList<QByteArray> words = child.readLine().trimmed().split(' ');
            if (words.value(0) == "shown") {
                result.sinceSpawnMs = clock.nsecsElapsed() / 1.0e6;
                result.inProcessMs = words.value(1).toDouble();
            } else if (words.value(0) == "closed") {
                result.closeMs = words.value(1).toDouble();
                result.replacements = words.value(2).toInt();
            } else if (words.value(0) == "tabswitch") {
                result.tabSwitchMs = words.value(1).toDouble();
            }
        }
    }
    child.waitForFinished(30000);
    return result;
}

ChildResult spawnChild(const QString &folder, const QString &closeMode) {
    QStringList arguments{QStringLiteral("--child"), folder};
    if (closeMode == QStringLiteral("tab-switch"))
        arguments << QStringLiteral("--tab-switch");
    else if (!closeMode.isEmpty())
        arguments << QStringLiteral("--close") << closeMode;
    return spawn(QCoreApplication::applicationFilePath(), arguments);
}

// The bare Qt window beside this program.
ChildResult spawnBareWindow() {
    return spawn(QCoreApplication::applicationDirPath() + QStringLiteral("/bare_window"), {});
}

template <class F> double median(F measure) {
    QList<double> values;
    for (int i = 0; i < Rounds; ++i)
        values << measure();
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

int runAll() {
    modemsim::ModemSimulator modem;
    if (!modem.start()) {
        QTextStream(stderr) << "no pseudo-terminal: " << modem.errorString() << Qt::endl;
        return 1;
    }
    QTemporaryDir emptyFolder;
    QTemporaryDir fullFolder;
    const QString emptyIni = emptyFolder.filePath(QStringLiteral("Telmaris.Ini"));
    const QString fullIni = fullFolder.filePath(QStringLiteral("Telmaris.Ini"));
    const QByteArray emptyFile = bench::portsSection(modem.slavePath(), emptyFolder.path());
    const QByteArray fullFile =
        bench::fullData() + bench::portsSection(modem.slavePath(), fullFolder.path());
    if (!bench::writeFile(emptyIni, emptyFile) || !bench::writeFile(fullIni, fullFile))
        return 1;

    QTextStream out(stdout);
    // Start-up only: the child ends without the close handling, the files stay as they are.
    QList<ChildResult> bare, empty, full;
    for (int i = 0; i < Rounds; ++i) { // alternated, so that all see the same machine load
        bare << spawnBareWindow();
        empty << spawnChild(emptyFolder.path(), QString());
        full << spawnChild(fullFolder.path(), QString());
    }
    const auto medianOf = [](QList<ChildResult> results, double ChildResult::*field) {
        std::sort(
            results.begin(), results.end(),
            [field](const ChildResult &a, const ChildResult &b) { return a.*field < b.*field; });
        return results.at(results.size() / 2).*field;
    };
    const double emptyMs = medianOf(empty, &ChildResult::sinceSpawnMs);
    const double fullMs = medianOf(full, &ChildResult::sinceSpawnMs);
    const double bareMs = medianOf(bare, &ChildResult::sinceSpawnMs);
    out << "startup_bare_window " << bareMs << " ms" << Qt::endl;
    out << "startup_empty " << emptyMs << " ms" << Qt::endl;
    out << "startup_empty_to_bare " << emptyMs / bareMs << " ratio" << Qt::endl;
    out << "startup_full " << fullMs << " ms" << Qt::endl;
    out << "startup_full_to_empty " << fullMs / emptyMs << " ratio" << Qt::endl;
    out << "startup_empty_window_only " << medianOf(empty, &ChildResult::inProcessMs) << " ms"
        << Qt::endl;
    out << "startup_full_window_only " << medianOf(full, &ChildResult::inProcessMs) << " ms"
        << Qt::endl;
    out << "settings_file_full " << fullFile.size() / 1.0e6 << " MB" << Qt::endl;
    out << "tab_switch_full "
        << spawnChild(fullFolder.path(), QStringLiteral("tab-switch")).tabSwitchMs << " ms"
        << Qt::endl;

    // Close with the full file, the current script changed by the user and unchanged; the file
    // is put back before each round.
    for (const QString &mode : {QStringLiteral("changed"), QStringLiteral("unchanged")}) {
        int replacements = 0;
        const double closeMs = median([&] {
            bench::writeFile(fullIni, fullFile);
            const ChildResult result = spawnChild(fullFolder.path(), mode);
            replacements = result.replacements;
            return result.closeMs;
        });
        out << "close_full_" << mode << ' ' << closeMs << " ms" << Qt::endl;
        out << "close_full_" << mode << "_replacements " << replacements << " times" << Qt::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0) {
        const QByteArray mode = argc >= 4 ? QByteArray(argv[3]) : QByteArray();
        const QString folder = QString::fromLocal8Bit(argv[2]);
        return runChild(argc, argv, folder,
                        mode == "--close"        ? QString::fromLocal8Bit(argc >= 5 ? argv[4] : "")
                        : mode == "--tab-switch" ? QStringLiteral("tab-switch")
                                                 : QString());
    }
    QApplication app(argc, argv);
    return runAll();
}
