// Renders the pictures of the manual's first steps from the real program under the offscreen
// platform: the first start with its question, the options page, the modem test, a typed script,
// the name box and the finished run with its message. Each picture is the main window at its own
// size; a box is drawn over the middle of the window as the user meets it. The window runs on a
// temporary program folder without a settings file, the modem simulator standing in for a USB modem
// that the system reports.
//
//   telmaris-manual-shots [output folder]      (default: the source tree's resources/bilder)
#include "ModemSimulator.h"
#include "StartWindow.h"
#include "editor/ScriptEdit.h"
#include "options/ModemTestDialog.h"
#include "shell/MainWindow.h"
#include "shell/MessageDialogs.h"
#include "shell/ToolkitTranslation.h"
#include "store/StartData.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <utility>

namespace {

bool ok = true;

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void save(const QImage &image, const QDir &out, const QString &name) {
    const QString path = out.filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok = false;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// The window with the box that is open over it, centred, with a thin frame for its edge (the
// offscreen platform draws no window decorations).
QImage windowWithBox(QWidget &window, QWidget *box) {
    QImage picture = window.grab().toImage();
    if (box) {
        const QImage boxPicture = box->grab().toImage();
        QPainter painter(&picture);
        const QPoint at((picture.width() - boxPicture.width()) / 2,
                        (picture.height() - boxPicture.height()) / 2);
        painter.drawImage(at, boxPicture);
        painter.setPen(QColor(0x55, 0x5a, 0x64));
        painter.drawRect(QRect(at, boxPicture.size()).adjusted(-1, -1, 0, 0));
    }
    return picture;
}

// The program's real boxes; each one is pictured as it opens and then confirmed, an input box
// after the answer has been typed into it.
class PicturedDialogs : public telmaris::MessageDialogs {
public:
    PicturedDialogs(const QDir &out) : out_(out) {}
    void expect(const QString &name, const QString &typed = QString()) {
        next_ = name;
        typed_ = typed;
    }
    void showMessage(telmaris::MessageIcon icon, const QString &title,
                     const QString &text) override {
        armPicture();
        MessageDialogs::showMessage(icon, title, text);
    }
    std::optional<QString> askText(const QString &title, const QString &prompt,
                                   const QString &proposal) override {
        armPicture();
        return MessageDialogs::askText(title, prompt, proposal);
    }
    void openMessage(telmaris::MessageIcon icon, const QString &title, const QString &text,
                     std::function<void()> closed) override {
        armPicture();
        MessageDialogs::openMessage(icon, title, text, std::move(closed));
    }
    QWidget *window = nullptr;

private:
    void armPicture() {
        const QString name = std::exchange(next_, QString());
        const QString typed = typed_;
        QTimer::singleShot(0, [this, name, typed] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box) {
                std::fprintf(stderr, "no box open for %s\n", qPrintable(name));
                ok = false;
                return;
            }
            if (auto *input = box->findChild<QLineEdit *>())
                input->setText(typed);
            settle();
            if (!name.isEmpty())
                save(windowWithBox(*window, box), out_, name);
            else
                std::fprintf(stderr, "unexpected box: %s\n", qPrintable(box->windowTitle()));
            QMetaObject::invokeMethod(box, "accept");
        });
    }
    QDir out_;
    QString next_;
    QString typed_;
};

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    telmaris::loadGermanToolkitTexts(app); // the boxes' buttons as the program shows them
    const QDir out(
        app.arguments().value(1, QStringLiteral(TELMARIS_SOURCE_DIR "/resources/bilder")));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    telmaris::modemsim::ModemSimulator modem;
    if (!modem.start()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(modem.errorString()));
        return 1;
    }
    // A first start: no settings file yet, a USB modem the only serial device.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot prepare a program folder\n");
        return 1;
    }

    PicturedDialogs dialogs(out);
    telmaris::MainWindow window(folder.path(), dialogs);
    const QString device = modem.slavePath();
    window.setDeviceDetector([device] {
        return telmaris::SerialDevices{
            {QStringLiteral("USB Modem"), QStringLiteral("Modemhersteller"), QString(), device}};
    });
    dialogs.window = &window;
    dialogs.setParent(&window);
    dialogs.expect(QStringLiteral("erster-start.png"));
    if (!startWindow(window))
        return 1;
    settle();

    window.selectTab(telmaris::OptionsTab);
    settle();
    save(window.grab().toImage(), out, QStringLiteral("optionen.png"));

    // The modem test on COM 1, pictured once the modem has answered every question.
    window.findChild<QPushButton *>(QStringLiteral("modemTestButton"))->click();
    auto *test = window.findChild<telmaris::ModemTestDialog *>();
    if (!test || !QTest::qWaitFor([test] { return test->isFinished(); }, 20000)) {
        std::fprintf(stderr, "the modem test did not finish\n");
        return 1;
    }
    settle();
    save(windowWithBox(window, test), out, QStringLiteral("modemtest.png"));
    test->close();
    settle();

    // The first script, typed as a user types it: "w" and the space bar write the keyword.
    window.selectTab(1);
    auto *editor = window.findChild<QWidget *>(QStringLiteral("scriptEdit")); // no wrap
    editor->setFocus();
    const char *lines[] = {"Nachtschaltung einschalten", "w *70", "p 2", "ERDTASTE", "w 1", "a "};
    for (const char *line : lines) {
        QTest::keyClicks(editor, QString::fromUtf8(line));
        if (QByteArray(line) != "a ")
            QTest::keyClick(editor, Qt::Key_Return);
    }
    settle();
    save(window.grab().toImage(), out, QStringLiteral("skript.png"));

    // Its name, given on the options page.
    window.selectTab(telmaris::OptionsTab);
    auto *names = window.findChild<QListWidget *>(QStringLiteral("nameList"));
    names->setCurrentRow(0);
    dialogs.expect(QStringLiteral("skriptname.png"), QStringLiteral("Nacht"));
    Q_EMIT names->itemDoubleClicked(names->item(0));
    settle();

    // The run, up to its closing message.
    window.selectTab(1);
    dialogs.expect(QStringLiteral("fertig.png"));
    QEventLoop run;
    QObject::connect(&window, &telmaris::MainWindow::runEnded, &run, &QEventLoop::quit);
    window.findChild<QPushButton *>(QStringLiteral("programButton"))->click();
    run.exec();
    settle();

    window.close();
    return ok ? 0 : 1;
}
