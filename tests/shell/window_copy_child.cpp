// Test helper: one running copy of the program's window on a program folder, for tests of
// several copies, or users, on one settings file. It starts the window (no argument), carries
// out the steps given, prints "ready" and waits for a line on standard input. Then it closes
// the window as "&Ende" does and prints every box the window showed, one line each.
//   window_copy_child <program folder> [tab:N | type:TEXT | name:N:TEXT]...
// tab:N selects tab N, type:TEXT types at the end of the script shown, name:N:TEXT renames
// slot N on the options page with the F2 key. Exit status 0 when the window closed.
#include "ScriptedDialogs.h"
#include "editor/ScriptEdit.h"
#include "shell/MainWindow.h"
#include "store/StartData.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTextStream>
#include <cstdio>

using namespace telmaris;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2)
        return 2;
    test::ScriptedDialogs dialogs;
    MainWindow window(arguments.at(1), dialogs);
    QTextStream out(stdout);
    std::optional<int> exitStatus;
    bool startedUp = false;
    QObject::connect(&window, &MainWindow::startedUp, [&startedUp] { startedUp = true; });
    QObject::connect(&window, &MainWindow::exitRequested,
                     [&exitStatus](int status) { exitStatus = status; });
    if (!(exitStatus = window.init(QString())))
        (void)QTest::qWaitFor([&] { return startedUp || exitStatus; });
    if (exitStatus) {
        out << "ended " << *exitStatus << Qt::endl;
        return 3;
    }
    for (const QString &step : arguments.mid(2)) {
        const QString kind = step.section(u':', 0, 0);
        if (kind == QLatin1String("tab")) {
            window.selectTab(step.section(u':', 1).toInt());
        } else if (kind == QLatin1String("type")) {
            // The editor box of the wrap mode in use.
            ScriptEdit *edit = nullptr;
            for (ScriptEdit *box : window.findChildren<ScriptEdit *>())
                if (box->isVisibleTo(&window))
                    edit = box;
            edit->moveCursor(QTextCursor::End);
            QTest::keyClicks(edit, step.section(u':', 1));
        } else if (kind == QLatin1String("name")) {
            window.selectTab(OptionsTab);
            auto *names = window.findChild<QListWidget *>(QStringLiteral("nameList"));
            names->setCurrentRow(step.section(u':', 1, 1).toInt() - 1);
            dialogs.answers = {step.section(u':', 2)};
            QTest::keyClick(names, Qt::Key_F2);
        }
    }
    out << "ready" << Qt::endl;
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 4;
    const bool closed = window.close();
    for (QString message : dialogs.messages)
        out << message.replace(u'\r', u' ') << Qt::endl;
    return closed ? 0 : 1;
}
