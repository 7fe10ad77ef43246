// Renders the main window to PNG files under the offscreen platform: a script page with a
// script and the options page, at the default size and a larger one. The window runs on a
// temporary program folder with the demo settings file and the modem simulator as COM 1.
//
//   telmaris-window-shots [output folder] [settings file]
#include "ModemSimulator.h"
#include "StartWindow.h"
#include "common/Dialogs.h"
#include "common/UserTexts.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

// No boxes while rendering: a box would only block.
class SilentDialogs : public telmaris::Dialogs {
public:
    void showMessage(telmaris::MessageIcon, const QString &title, const QString &text) override {
        std::fprintf(stderr, "box: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
};

bool save(QWidget &window, const QDir &out, const QString &name) {
    QCoreApplication::processEvents();
    const QString path = out.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QDir out(args.value(1, QStringLiteral(TELMARIS_SOURCE_DIR "/docs/images")));
    const QString iniSource =
        args.value(2, QStringLiteral(TELMARIS_SOURCE_DIR "/scripts/demo.ini"));

    telmaris::modemsim::ModemSimulator modem;
    if (!modem.start()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", qPrintable(modem.errorString()));
        return 1;
    }
    QTemporaryDir folder;
    QFile source(iniSource);
    QFile ini(QDir(folder.path()).filePath(QStringLiteral("Telmaris.Ini")));
    if (!folder.isValid() || !source.open(QIODevice::ReadOnly) || !ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot prepare the program folder from %s\n", qPrintable(iniSource));
        return 1;
    }
    ini.write(source.readAll());
    ini.write(QStringLiteral("\n[Ports]\nCOM1=%1\n").arg(modem.slavePath()).toUtf8());
    ini.close();

    SilentDialogs dialogs;
    telmaris::MainWindow window(folder.path(), dialogs);
    if (!startWindow(window))
        return 1;

    bool ok = true;
    const QList<QPair<QSize, QString>> sizes = {{QSize(640, 480), QString()},
                                                {QSize(900, 620), QStringLiteral("-large")}};
    for (const auto &[size, suffix] : sizes) {
        window.resize(size);
        window.selectTab(2);
        window.status(telmaris::texts::ScriptPageStatus);
        ok = save(window, out, QStringLiteral("window-script%1.png").arg(suffix)) && ok;
        window.selectTab(telmaris::OptionsTab);
        ok = save(window, out, QStringLiteral("window-options%1.png").arg(suffix)) && ok;
    }
    return ok ? 0 : 1;
}
