// The modem simulator program refuses to start without a link to make and never replaces a
// real file with one. How it answers is exercised by the end-to-end runs through its link.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void refusesWithoutALinkAndKeepsRealFiles();
};

void TestModemSim::refusesWithoutALinkAndKeepsRealFiles() {
    QProcess sim;
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--busy"});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains("--link"));

    QTemporaryDir dir;
    QFile notes(dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep me") == 7);
    notes.close();
    sim.start(QStringLiteral(TELMARIS_MODEM_SIM), {"--link", notes.fileName()});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardError().contains(notes.fileName().toUtf8()));
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
