// The trace window "Debugger": every new line becomes the selected, visible last entry;
// "Clear" empties the list.
#include "trace/TraceWindow.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace telmaris;

class TestTraceWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newLineIsSelectedLastEntry();
    void clearStartsAgainAtEntryOne();
    void newestEntryStaysVisible();

private:
    static QListWidget *list(TraceWindow &w) {
        return w.findChild<QListWidget *>(QStringLiteral("List1"));
    }
};

void TestTraceWindow::newLineIsSelectedLastEntry() {
    TraceWindow window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Debugger"));
    QCOMPARE(list(window)->count(), 0);

    window.AddTrace(TraceSeparator);
    window.AddTrace(QStringLiteral("12:00:01 SkriptLine: »ATDT123«"));
    list(window)->setCurrentRow(0); // the user looks at an older entry
    window.AddTrace(QString());     // an empty line is an entry too

    QCOMPARE(
        window.lines(),
        QStringList({TraceSeparator, QStringLiteral("12:00:01 SkriptLine: »ATDT123«"), QString()}));
    QCOMPARE(list(window)->currentRow(), 2);
    QCOMPARE(list(window)->selectedItems().size(), 1);
    QCOMPARE(list(window)->selectedItems().first()->text(), QString());
}

void TestTraceWindow::clearStartsAgainAtEntryOne() {
    TraceWindow window;
    window.show();
    window.AddTrace(QStringLiteral("a"));
    window.AddTrace(QStringLiteral("b"));
    auto *clear = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(clear->text(), QStringLiteral("Clear"));
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(list(window)->count(), 0);

    window.AddTrace(QStringLiteral("c"));
    QCOMPARE(window.lines(), QStringList({QStringLiteral("c")}));
    QCOMPARE(list(window)->currentRow(), 0);
}

void TestTraceWindow::newestEntryStaysVisible() {
    TraceWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int i = 1; i <= 300; ++i)
        window.AddTrace(QStringLiteral("line %1").arg(i));
    QListWidget *entries = list(window);
    const QRect last = entries->visualItemRect(entries->item(299));
    QVERIFY(entries->viewport()->rect().contains(last));
    QVERIFY(!entries->viewport()->rect().intersects(entries->visualItemRect(entries->item(0))));
}

QTEST_MAIN(TestTraceWindow)
#include "tst_tracewindow.moc"
