// The floor for the program's start-up: a bare Qt window, a QMainWindow holding one
// QPlainTextEdit with a line of text, in a process of its own. It prints "shown MS" at the end
// of its first paint, MS counted from main(); startup_close starts it alternately with the
// program and takes the whole-process time from the start of each process to that line.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QTimer>

int main(int argc, char *argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    QMainWindow window;
    auto *edit = new QPlainTextEdit(QStringLiteral("MODEM ATX3"), &window);
    window.setCentralWidget(edit);
    window.resize(720, 520);

    // Reports once, after the first paint of the editor's text has finished.
    class FirstPaint : public QObject {
    public:
        QElapsedTimer *clock = nullptr;

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Paint && clock) {
                QElapsedTimer *since = std::exchange(clock, nullptr);
                QTimer::singleShot(0, this, [since] {
                    QTextStream(stdout) << "shown " << since->nsecsElapsed() / 1.0e6 << Qt::endl;
                    QCoreApplication::exit(0);
                });
            }
            return QObject::eventFilter(watched, event);
        }
    } firstPaint;
    firstPaint.clock = &sinceMain;
    edit->viewport()->installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
