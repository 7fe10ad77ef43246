// The built program as a process in a temporary program folder, with the modem simulator
// program as COM 1: what AutoMode sends, how the process ends and that the settings file stays
// as it was. Message boxes are closed at once by the program's test hook and read from its
// standard error.
#include "TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace telmaris::test;

namespace {

const QByteArray Settings = "[Data]\r\nComPort=1\r\nCurrSkript=1\r\nSkriptName3=Nacht\r\n"
                            "SkriptText3=TONWAHL\\N\\LWÄHLE 55\\N\\LERDTASTE\\N\\LAUFLEGEN\r\n";

// One program folder with a copy of the program and, when given options, the simulator
// started beside it as COM 1; COM 2 to 4 do not exist.
class Installation {
public:
    explicit Installation(const QStringList &simulatorOptions) {
        QVERIFY(QFile::copy(QStringLiteral(TELMARIS_EXE), folder.filePath("telmaris")));
        ini = Settings + "[Ports]\r\n";
        for (const char *port : {"1=modem", "2=none2", "3=none3", "4=none4"})
            ini +=
                "COM" + QByteArray(port).replace('=', "=" + folder.path().toUtf8() + '/') + "\r\n";
        folder.writeIni(ini);
        if (simulatorOptions.isEmpty())
            return;
        simulator.start(QStringLiteral(TELMARIS_MODEM_SIM),
                        QStringList{"--link", folder.filePath("modem"), "--log", logPath()} +
                            simulatorOptions);
        QVERIFY(simulator.waitForStarted());
        QTRY_VERIFY(QFile::exists(folder.filePath("modem")));
    }
    ~Installation() {
        simulator.terminate();
        simulator.waitForFinished();
    }

    // Runs the program with one argument; returns its exit status.
    int run(const QString &argument) { return run(QStringList{argument}); }
    int run(const QStringList &arguments) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TELMARIS_TEST_AUTOCLOSE_BOXES"), QStringLiteral("1"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder.path());
        program.start(folder.filePath("telmaris"), arguments);
        if (!program.waitForFinished(120000))
            program.kill();
        for (const QByteArray &line : program.readAllStandardError().split('\n'))
            if (line.startsWith('['))
                boxes << QString::fromUtf8(line);
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    QString logPath() const { return folder.filePath("modem.log"); }
    // The commands the modem received, without their time stamps ("yyyy-MM-dd HH:mm:ss.zzz ").
    QList<QByteArray> commands() const {
        QFile log(logPath());
        QList<QByteArray> result;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray &line : log.readAll().split('\n'))
                if (line.size() >= 24)
                    result << line.mid(24);
        return result;
    }

    TempProgramFolder folder;
    QByteArray ini;
    QProcess simulator;
    QStringList boxes; // "[icon] title: text" of every box the program showed
};

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void autoModeSendsTheScript();
    void failingAutoModeRunEndsWithStatusOne();
    void unknownParameterEndsWithStatusTwo_data();
    void unknownParameterEndsWithStatusTwo();
    void noSerialPortEndsWithStatusThree();
};

// Slot 3 chosen by its name; the number is taken in the other runs.
void TestEndToEnd::autoModeSendsTheScript() {
    Installation installation({QStringLiteral("--echo")}); // the init turns the echo off
    QCOMPARE(installation.run(QStringLiteral(" NACHT ")), 0);
    QCOMPARE(installation.boxes, QStringList());
    QCOMPARE(installation.commands(),
             QList<QByteArray>({"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1", "ATDT55;", "ATDT!;",
                                "ATH0", "AT&F"}));
    QCOMPARE(installation.folder.readIni(), installation.ini);
}

void TestEndToEnd::failingAutoModeRunEndsWithStatusOne() {
    Installation installation({QStringLiteral("--error-on"), QStringLiteral("DT55")});
    QCOMPARE(installation.run(QStringLiteral("3")), 1);
    QCOMPARE(installation.boxes,
             QStringList({QStringLiteral("[critical] Telmaris: Das Modem hat einen Befehl nicht "
                                         "verstandent - bitte Verbindung und Optionen  prüfen.")}));
    QCOMPARE(installation.commands().last(), QByteArray("ATDT55;"));
    QCOMPARE(installation.folder.readIni(), installation.ini);
}

// The toolkit's own options are words like any other on the command line.
void TestEndToEnd::unknownParameterEndsWithStatusTwo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");
    QTest::newRow("negative number") << QStringList{"-3"} << QStringLiteral("-3");
    QTest::newRow("-reverse 7") << QStringList{"-reverse", "7"} << QStringLiteral("-reverse 7");
    QTest::newRow("-style fusion 7")
        << QStringList{"-style", "fusion", "7"} << QStringLiteral("-style fusion 7");
    QTest::newRow("-reverse") << QStringList{"-reverse"} << QStringLiteral("-reverse");
}

void TestEndToEnd::unknownParameterEndsWithStatusTwo() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    Installation installation({QStringLiteral("--busy")});
    QCOMPARE(installation.run(arguments), 2);
    QCOMPARE(installation.boxes.size(), 1);
    QVERIFY2(installation.boxes[0].startsWith(
                 QStringLiteral("[critical] Telmaris: Telmaris wurde mit dem unbekannten "
                                "Startparameter | '") +
                 shown + QStringLiteral("' aufgerufen.")),
             qPrintable(installation.boxes[0]));
    QVERIFY(installation.commands().isEmpty());
    QCOMPARE(installation.folder.readIni(), installation.ini);
}

void TestEndToEnd::noSerialPortEndsWithStatusThree() {
    Installation installation({}); // no simulator: COM 1 does not exist either
    QCOMPARE(installation.run(QString()), 3);
    QCOMPARE(installation.boxes,
             QStringList({QStringLiteral("[critical] Telmaris: Es sind keinerlei Com-Ports "
                                         "verfügbar. | Das Programm bricht daher ab.")}));
    QCOMPARE(installation.folder.readIni(), installation.ini);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
