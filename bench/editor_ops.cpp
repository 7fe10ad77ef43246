// The editor's own operations in a 32,000-character script: one keyword shorthand completion
// ("e" and a blank becoming "EINGABE "), one separator line ("-" and a blank) and one Ctrl+Y,
// each as a real key press on the editor box (offscreen). Prints "name value unit" lines: the
// median and the slowest of the rounds.

#include "editor/ScriptEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace telmaris;

namespace {

constexpr int Rounds = 41;

QString buildScript() {
    QString script;
    for (int i = 0; script.size() < 32000; ++i)
        script += QStringLiteral("W\u00c4HLE **7%1#\r\nPAUSE 2\r\n").arg(i);
    script.truncate(32000);
    return script;
}

void press(QWidget *widget, int key, Qt::KeyboardModifiers modifiers, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Times one operation; prepare runs before each round, outside the time.
void measure(const char *name, const std::function<void()> &prepare,
             const std::function<void()> &operation) {
    QList<double> ms;
    for (int i = 0; i < Rounds; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        operation();
        ms << clock.nsecsElapsed() / 1.0e6;
    }
    std::sort(ms.begin(), ms.end());
    QTextStream out(stdout);
    out << name << "_median " << ms.at(ms.size() / 2) << " ms" << Qt::endl;
    out << name << "_max " << ms.last() << " ms" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString script = buildScript();
    for (const bool wrap : {false, true}) {
        ScriptEdit edit(wrap);
        edit.resize(640, 360);
        edit.setLineLen(60);
        edit.show();
        QApplication::processEvents();
        const QString box = wrap ? QStringLiteral("wrap") : QStringLiteral("nowrap");
        // The caret in the middle of the script, at the start of a line.
        const int middle = static_cast<int>(script.indexOf(QStringLiteral("\r\n"), 16000)) + 2;
        const auto reset = [&] {
            edit.setCrlfText(script);
            edit.setCaret(middle);
            QApplication::processEvents();
        };
        const auto typeThenBlank = [&](int key, const QString &letter) {
            return [&, key, letter] {
                reset();
                press(&edit, key, Qt::NoModifier, letter);
                QApplication::processEvents();
            };
        };
        const auto blank = [&] {
            press(&edit, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::processEvents();
        };
        measure(qPrintable(QStringLiteral("editor_%1_shorthand_keyword").arg(box)),
                typeThenBlank(Qt::Key_E, QStringLiteral("e")), blank);
        if (edit.crlfText().mid(middle, 8) != QStringLiteral("EINGABE "))
            QTextStream(stderr) << "the shorthand did not complete" << Qt::endl;
        measure(qPrintable(QStringLiteral("editor_%1_shorthand_separator").arg(box)),
                typeThenBlank(Qt::Key_Minus, QStringLiteral("-")), blank);
        measure(qPrintable(QStringLiteral("editor_%1_ctrl_y").arg(box)), reset, [&] {
            press(&edit, Qt::Key_Y, Qt::ControlModifier, QString());
            QApplication::processEvents();
        });
        if (edit.crlfText().size() >= script.size())
            QTextStream(stderr) << "Ctrl+Y removed nothing" << Qt::endl;
    }
    return 0;
}
