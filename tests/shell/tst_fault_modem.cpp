// Faults on the modem's side of a run, through the real window, the real serial port and the
// modem simulator on a pseudo-terminal: the line vanishing at every stage of a run, a modem that
// answers garbage, and a port that another process holds. Each run ends with its message and
// the window idle again; none needs more than the user's abort to end.
#include "ProgramFixture.h"
#include "editor/ScriptEdit.h"
#include "trace/TraceWindow.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QTabBar>
#include <QtTest>

using namespace telmaris;
using namespace telmaris::test;

namespace {

QString StatusLine(MainWindow &w) {
    return w.findChild<QLabel *>(QStringLiteral("StatusDisplay"))->text();
}
QPushButton *Button(MainWindow &w, int index) {
    return w.findChild<QPushButton *>(QStringLiteral("Command1_%1").arg(index));
}

// Ready for the next run: the start button, the slot choice and the editor usable again.
void VerifyIdle(MainWindow &w) {
    QVERIFY(!w.Running());
    QCOMPARE(Button(w, 0)->text(), QStringLiteral("&Programmieren"));
    QVERIFY(Button(w, 0)->isEnabled());
    QVERIFY(Button(w, 2)->isEnabled());
    QVERIFY(Button(w, 4)->isEnabled());
    QVERIFY(w.findChild<QTabBar *>(QStringLiteral("TabStrip1"))->isEnabled());
    QVERIFY(w.findChild<QSlider *>(QStringLiteral("SkriptSlider"))->isEnabled());
    QVERIFY(!w.Edit(0)->isReadOnly());
}

// Presses "&Programmieren" and returns when the run is over. A run still going after
// timeoutMs is aborted the way a user would, and counts as hung.
bool RunToEnd(MainWindow &w, int timeoutMs = 30000) {
    bool hung = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        hung = true;
        QTest::mouseClick(Button(w, 0), Qt::LeftButton);
    });
    watchdog.start(timeoutMs);
    QTest::mouseClick(Button(w, 0), Qt::LeftButton);
    return !hung;
}

const QString NoModem = QStringLiteral("Das Modem reagiert nicht - ist es eingeschaltet?");
const QString Aborted = QString::fromUtf8("Das Skript wurde wunschgemäß abgebrochen.");

} // namespace

class TestFaultModem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineVanishesAtEveryStage_data();
    void lineVanishesAtEveryStage();
    void garbageAnswersCanBeAborted_data();
    void garbageAnswersCanBeAborted();
    void portHeldByAnotherProcess();
};

void TestFaultModem::lineVanishesAtEveryStage_data() {
    QTest::addColumn<int>("dropOn");
    QTest::addColumn<QByteArray>("lastCommand");
    // The run sends AT&F, ATV1, the script's two lines and AT&F again.
    QTest::newRow("preparation: reset") << 1 << QByteArray("AT&F");
    QTest::newRow("preparation: initialisation") << 2 << QByteArray("ATV1");
    QTest::newRow("lines: first") << 3 << QByteArray("ATM1");
    QTest::newRow("lines: dialling") << 4 << QByteArray("ATDT123;");
    QTest::newRow("closing reset") << 5 << QByteArray("AT&F");
}

void TestFaultModem::lineVanishesAtEveryStage() {
    QFETCH(int, dropOn);
    QFETCH(QByteArray, lastCommand);
    ProgramFixture program("ModemReset=&F\nModemInit=V1\nSkriptText1=MODEM ATM1\\N\\LWÄHLE 123\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    program.modem1()->setDropAfter(dropOn);

    QVERIFY2(RunToEnd(w), "the run did not end when the line vanished");

    QCOMPARE(program.modem1().commands().size(), dropOn);
    QCOMPARE(program.modem1().commands().last(), lastCommand);
    QCOMPARE(StatusLine(w), QStringLiteral(" Modem-Problem!"));
    QCOMPARE(program.dialogs.messages.size(), 1);
    QVERIFY(program.dialogs.messages[0].startsWith(QStringLiteral("[critical] Telmaris: ")));
    QCOMPARE(program.dialogs.texts[0], NoModem);
    VerifyIdle(w);

    // The device is gone: the next try says so at once instead of waiting.
    QVERIFY(RunToEnd(w, 5000));
    QCOMPARE(program.dialogs.texts.last(), QString::fromUtf8("Com-Port 1 ist nicht verfügbar."));
    VerifyIdle(w);
    // Nothing of the script was lost.
    QCOMPARE(w.Edit(0)->crlfText(), QString::fromUtf8("MODEM ATM1\r\nWÄHLE 123"));
}

void TestFaultModem::garbageAnswersCanBeAborted_data() {
    QTest::addColumn<QByteArray>("garbage");
    QRandomGenerator random(4711);
    QByteArray binary;
    // Bytes of every kind, NUL and line breaks among them, but no line that could end in
    // OK, ERROR or BUSY.
    while (binary.size() < 200000) {
        const char c = static_cast<char>(random.bounded(256));
        if (!QByteArray("OoRrYy").contains(c))
            binary += c;
    }
    QTest::newRow("binary bytes") << binary;
    QTest::newRow("1 MB without CR") << QByteArray(1 << 20, 'x');
    QTest::newRow("CR only") << QByteArray(20000, '\r');
}

void TestFaultModem::garbageAnswersCanBeAborted() {
    QFETCH(QByteArray, garbage);
    ProgramFixture program("ModemReset=&F\nSkriptText1=MODEM ATM1\n");
    QCOMPARE(program.start(QStringLiteral("debug")), std::nullopt);
    MainWindow &w = *program.window;
    program.modem1()->setSilent(true);
    bool sent = false;
    connect(&program.modem1().modem(), &modemsim::ModemSimulator::commandReceived, this, [&] {
        if (!std::exchange(sent, true))
            program.modem1()->sendRaw(garbage + "\rNOISE END\r");
    });
    // The user presses "&Abbrechen" once the whole noise has arrived.
    bool digested = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!digested && StatusLine(w).contains(QStringLiteral("NOISE END"))) {
            digested = true;
            QTest::mouseClick(Button(w, 0), Qt::LeftButton);
        }
    });
    poll.start(20);

    QVERIFY2(RunToEnd(w), "the run did not react to the abort");

    QVERIFY(digested);
    QCOMPARE(program.modem1().commands(), (QList<QByteArray>{"AT&F", "ATH0"}));
    QCOMPARE(program.dialogs.messages.size(), 1);
    QCOMPARE(program.dialogs.texts[0], Aborted);
    VerifyIdle(w);
    // However long the noise, no line of it shown to the user is longer than the kept tail.
    qsizetype longest = 0;
    for (const QString &line : w.traceWindow()->lines())
        longest = std::max(longest, line.size());
    QVERIFY2(longest <= 4096 + 64, qPrintable(QString::number(longest)));
    QVERIFY(StatusLine(w).size() <= 4096 + 64);
}

void TestFaultModem::portHeldByAnotherProcess() {
    ProgramFixture program("ModemReset=&F\nModemInit=V1\nSkriptText1=MODEM ATM1\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;

    // Another program holds the port with an exclusive lock, as dial-up programs do.
    QProcess holder;
    // It keeps the lock until its input closes.
    holder.start(QStringLiteral("flock"),
                 {QStringLiteral("-o"), QStringLiteral("-x"), program.modem1().devicePath(),
                  QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("echo held; read x")});
    QVERIFY2(holder.waitForReadyRead(10000), "flock did not take the port");

    QVERIFY(RunToEnd(w, 5000));
    QCOMPARE(program.dialogs.messages.size(), 1);
    QCOMPARE(program.dialogs.texts[0], QString::fromUtf8("Com-Port 1 ist nicht verfügbar."));
    QCOMPARE(StatusLine(w), QStringLiteral(" Schnittstellen-Problem!"));
    QVERIFY(program.modem1().modem().received().isEmpty());
    VerifyIdle(w);

    // Once the other program is gone, the same script runs.
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
    QVERIFY(RunToEnd(w));
    QCOMPARE(program.modem1().commands(), (QList<QByteArray>{"AT&F", "ATV1", "ATM1", "AT&F"}));
    QCOMPARE(program.dialogs.texts.last(),
             QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt."));
}

QTEST_MAIN(TestFaultModem)
#include "tst_fault_modem.moc"
