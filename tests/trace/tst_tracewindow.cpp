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
    void newLineIsTheSelectedLastEntry();
};

void TestTraceWindow::newLineIsTheSelectedLastEntry() {
    TraceWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *list = window.findChild<QListWidget *>(QStringLiteral("traceLines"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Debugger"));
    window.AddTrace(TraceSeparator);
    window.AddTrace(QStringLiteral("12:00:01 SkriptLine: »ATDT123«"));
    list->setCurrentRow(0);     // the user looks at an older entry
    window.AddTrace(QString()); // an empty line is an entry too
    QCOMPARE(window.lines(), QStringList({TraceSeparator, "12:00:01 SkriptLine: »ATDT123«", ""}));
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(list->selectedItems().size(), 1);

    auto *clear = window.findChild<QPushButton *>(QStringLiteral("clearButton"));
    QCOMPARE(clear->text(), QStringLiteral("Clear"));
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(list->count(), 0);
    window.AddTrace(QStringLiteral("c"));
    QCOMPARE(window.lines(), QStringList({QStringLiteral("c")}));
    QCOMPARE(list->currentRow(), 0);

    // However long the list, the newest entry is in view.
    for (int i = 1; i <= 300; ++i)
        window.AddTrace(QStringLiteral("line %1").arg(i));
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(300))));
    QVERIFY(!list->viewport()->rect().intersects(list->visualItemRect(list->item(0))));
}

QTEST_MAIN(TestTraceWindow)
#include "tst_tracewindow.moc"
