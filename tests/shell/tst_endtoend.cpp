// The built program as a process in a temporary program folder, with the modem simulator
// program as COM 1, started the way a scheduled job starts it: no display (or a DISPLAY whose
// X server is gone), no window system chosen, no XDG_RUNTIME_DIR. What it sends, what it
// prints on standard error, what its run log holds, how the process ends and that the
// settings file stays as it was.
#include "SimulatorLog.h"
#include "TempProgramFolder.h"
#include "ports/PortLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace telmaris::test;

namespace {

// UTF-8, but for one comment line in Windows-1252 written by an old editor.
const QByteArray Settings =
    "; Gr\xFC\xDF Gott\r\n[Data]\r\nComPort=1\r\nCurrSkript=1\r\nSkriptName3=Nächte\r\n"
    "SkriptText3=HINWEIS Nachtschaltung\\N\\LTONWAHL\\N\\LWÄHLE 55\\N\\LERDTASTE\\N\\LAUFLEGEN\r\n"
    "SkriptText4=WÄHLE 1\\N\\LEINGABE Nummer?\\N\\LWÄHLE %EINGABE%\r\n";

// One program folder with a copy of the program and, when given options, the simulator
// started beside it as COM 1; COM 2 to 4 do not exist.
class Installation {
public:
    Installation(const QStringList &simulatorOptions, const QByteArray &moreSettings) {
        QVERIFY(QFile::copy(QStringLiteral(TELMARIS_EXE), folder.filePath("telmaris")));
        // A key given in moreSettings takes the place of the same key in the settings above.
        QByteArray settings = Settings;
        for (const QByteArray &line : moreSettings.split('\n')) {
            const QByteArray key = "\n" + line.left(line.indexOf('=') + 1);
            if (const qsizetype at = settings.indexOf(key); key.size() > 2 && at >= 0)
                settings.remove(at + 1, settings.indexOf('\n', at + 1) - at);
        }
        ini = settings + moreSettings + "[Ports]\r\n";
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

    // Starts the program with no display, as the user uid when given (by the superuser).
    // Leading arguments "NAME=value" set a variable, as on a crontab line.
    void start(QProcess &program, QStringList arguments, const QString &uid = QString()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        while (!arguments.isEmpty() && arguments.first().contains(u'=')) {
            const QString setting = arguments.takeFirst();
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        }
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder.path());
        if (uid.isEmpty())
            program.start(folder.filePath("telmaris"), arguments);
        else
            program.start(QStringLiteral("setpriv"),
                          QStringList{"--reuid=" + uid, "--regid=" + uid, "--clear-groups",
                                      folder.filePath("telmaris")} +
                              arguments);
    }
    // Runs the program to its end; returns its exit status, -1 for a crash.
    int run(const QStringList &arguments, const QString &uid = QString()) {
        QProcess program;
        QElapsedTimer clock;
        clock.start();
        start(program, arguments, uid);
        if (!program.waitForFinished(120000))
            program.kill();
        seconds = clock.elapsed() / 1000.0;
        // The program's own lines; the port probe's diagnostics are others.
        for (const QByteArray &line : program.readAllStandardError().split('\n'))
            if (line.startsWith("Telmaris: "))
                errorLines << QString::fromUtf8(line);
            else if (!line.isEmpty())
                otherLines << QString::fromUtf8(line);
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    QString logPath() const { return folder.filePath("modem.log"); }
    // The commands the modem received, without their time stamps ("yyyy-MM-dd HH:mm:ss.zzz ").
    QList<QByteArray> commands() const { return simulatorCommands(logPath()); }

    TempProgramFolder folder;
    QByteArray ini;
    QProcess simulator;
    QStringList errorLines; // the program's lines on standard error
    QStringList otherLines; // anything else there
    double seconds = 0;
};

// A notice's line names the script once, after the program.
const QString Notice = QStringLiteral("Telmaris: Nächte: Nachtschaltung");
const QString Done = QString::fromUtf8("Ende: Programmierung beendet – Dauer … s");
// The run log's header of slot 3, whose modem lies in the program folder ("%1").
const QString LogHeader = QString::fromUtf8(
    "Start: Skript %2, AutoMode ohne grafische Oberfläche, COM 1 (%1/modem), 1200 Baud");
const QString LineLost = QStringLiteral(
    "Die Verbindung zum Modem ist unterbrochen (Kabel gezogen oder Modem ausgeschaltet).");
const QString ErrorText = QStringLiteral(
    "Das Modem hat einen Befehl nicht verstanden - bitte Verbindung und Optionen prüfen.");
// The line below the modem's ERROR: the command refused, and the script line that sent it.
const QString Refused = QStringLiteral("Abgelehnter Befehl: „ATDT55;“ (Zeile 3: WÄHLE 55)");
const QList<QByteArray> Prepare{"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1"};
// A failed run's line names the script and the port before its message.
const QString Failed = QString::fromUtf8("Telmaris: Skript 3 »Nächte«, COM 1 (%F/modem): ");
const QString NoDesktop = QStringLiteral(
    "Telmaris: Das Programmfenster braucht eine grafische Oberfläche, und hier ist keine "
    "erreichbar (%1). Ohne grafische Oberfläche läuft nur der AutoMode: telmaris Skriptnummer "
    "oder Skriptname.");
// No port can be opened: where the reasons are.
const QString NoComPorts = QStringLiteral(
    "Telmaris: Es sind keinerlei Com-Ports verfügbar. Das Programm bricht daher ab. Warum, steht "
    "auf der Standardfehlerausgabe in der Zeile „COM1 …“; „telmaris debug“ nennt dort die "
    "Gründe für alle vier Schnittstellen.");

// What goes wrong around a run beside the modem.
constexpr int Sound = 0;
constexpr int LogBlocked = 1; // a file stands where the log's folder belongs
constexpr int Unreadable =
    2; // the settings file is the superuser's own; the program runs as nobody
constexpr int NotInGroup = 3; // the modem belongs to the group dialout; nobody runs the program

QString unknownParameter(const QString &shown) {
    return "Telmaris: Telmaris wurde mit dem unbekannten Startparameter '" + shown +
           "' aufgerufen. Für den AutoMode von Telmaris sind aber nur die Skriptnummern von 1 "
           "bis 100 zulässig oder die von Ihnen vergebenen Skriptnamen. Der AutoMode wird daher "
           "abgebrochen und das Programm beendet.";
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runWithoutDisplay_data();
    void runWithoutDisplay();
    void sigtermDuringAPauseHangsUp();
};

void TestEndToEnd::runWithoutDisplay_data() {
    QTest::addColumn<QStringList>("simulator"); // options; none: no modem at all
    QTest::addColumn<QByteArray>("moreSettings");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("errorLines");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("logEnd"); // the run log's last line; none: no log
    const auto row = [](const QString &name, const QStringList &simulator,
                        const QByteArray &moreSettings, const QStringList &arguments, int status,
                        const QStringList &errorLines, const QList<QByteArray> &commands = {},
                        const QString &logEnd = {}, int fault = Sound) {
        QTest::newRow(qPrintable(name)) << simulator << moreSettings << arguments << status
                                        << errorLines << commands << fault << logEnd;
    };
    const QStringList echo{"--echo"};
    const QList<QByteArray> nights =
        Prepare + QList<QByteArray>{"ATDT55;", "ATDT!;", "ATH0", "AT&F", "ATH0"};
    const auto ended = [](const QString &status, const QString &message) {
        return "Ende: " + status + QString::fromUtf8(" – »") + message +
               QString::fromUtf8("« – Dauer … s");
    };

    // Slot 3 chosen by its name; the number is taken in the other runs.
    row("notice and dial", echo, {}, {" NÄCHTE "}, 0, {Notice}, nights, Done); // echo turned off
    row("log folder cannot be made", echo, {}, {"3"}, 0,
        {Notice, "Telmaris: Das Protokoll konnte nicht geschrieben werden: Der Ordner "
                 "%F/state/Telmaris konnte nicht angelegt werden."},
        nights, QString(), LogBlocked);
    // The one thing a successful unattended run prints: lines that will be skipped.
    row("marked lines", echo, "SkriptText5=WÄHLE 1\\N\\Lpause 3\\N\\LAUFLEGENe\r\n", {"5"}, 0,
        {"Telmaris: Skript 5, Zeile 2 wird nicht gesendet: pause 3",
         "Telmaris: Skript 5, Zeile 3 wird nicht gesendet: AUFLEGENe"},
        Prepare + QList<QByteArray>{"ATDT1;", "AT&F", "ATH0"}, Done);
    // A file without a valid port asks, once, to check it; the run takes the first usable port.
    row("no port stored", echo, "ComPort=7\r\n", {"3"}, 0,
        {QString::fromUtf8("Telmaris: Bitte überprüfen Sie die Port-Einstellung."), Notice}, nights,
        Done);
    // The demo's modem test and the other questions a modem answers about itself. A successful
    // run whose script says nothing prints nothing at all: neither the unusable COM 2 to 4 nor
    // the toolkit's notes, nor a command longer than 40 characters (it goes out all the same).
    const QByteArray longCommand = "ATI1I2I3I4I5I6I7I0I1I2I3I4I5I6I7I0I1I2I3I4";
    row("information commands", echo,
        "SkriptText5=MODEM ATI\\N\\LMODEM AT&V\\N\\LMODEM " + longCommand +
            "\\N\\LMODEM AT+GMI;+GMM;+GMR\r\n",
        {"5"}, 0, {},
        Prepare + QList<QByteArray>{"ATI", "AT&V", longCommand, "AT+GMI;+GMM;+GMR", "AT&F", "ATH0"},
        Done);
    // A DISPLAY that leads nowhere is no display. A script without a name is named by its
    // number.
    row("DISPLAY that leads nowhere", echo, "SkriptText5=HINWEIS Los\\N\\LWÄHLE 1\r\n",
        {"DISPLAY=:8417", "5"}, 0, {"Telmaris: Skript 5: Los"},
        Prepare + QList<QByteArray>{"ATDT1;", "AT&F", "ATH0"}, Done);
    row("modem error", {"--error-on", "DT55"}, {}, {"3"}, 1,
        {Notice, Failed + ErrorText + u' ' + Refused},
        Prepare + QList<QByteArray>{"ATDT55;", "ATH0"},
        ended("Das Modem hat einen Fehler gemeldet!", ErrorText + "<CR>" + Refused));
    // Half a second rounds up to one: a limit, not "wait for ever".
    const QString silent =
        QStringLiteral("Das Modem hat nicht innerhalb einer Sekunde geantwortet.");
    row("silent modem, AntwortZeit=0.5", {"--silent"}, "[AutoMode]\r\nAntwortZeit=0.5\r\n", {"3"},
        1, {Failed + silent}, {"AT&F", "ATH0"}, ended("Modem-Problem!", silent));
    // The line vanishes while the answer to the dial is awaited: over long before the limit.
    const QString noModem = QStringLiteral("Das Modem reagiert nicht - ist es eingeschaltet?");
    row("unplugged modem", {"--drop-after", "3"}, {}, {"3"}, 1,
        {Notice, Failed + noModem + u' ' + LineLost}, Prepare + QList<QByteArray>{"ATDT55;"},
        ended("Modem-Problem!", noModem + "<CR>" + LineLost));
    const QString needsInput = QStringLiteral("Telmaris: Skript 4 braucht eine Eingabe (EINGABE) "
                                              "und kann ohne grafische Oberfläche nicht laufen.");
    row("input nobody can give", echo, {}, {"4"}, 1, {needsInput}, {},
        ended("nicht gestartet", needsInput).remove(QString::fromUtf8(" – Dauer … s")));
    // The toolkit's own options are words like any other on the command line.
    for (const QStringList &arguments :
         QList<QStringList>{{"-3"}, {"-reverse", "7"}, {"-style", "fusion", "7"}, {"-reverse"}})
        row("unknown parameter " + arguments.join(u' '), {"--busy"}, {}, arguments, 2,
            {unknownParameter(arguments.join(u' '))});
    row("no serial port", {}, {}, {"3"}, 3, {NoComPorts});
    // The commonest cause has its remedy below: the user is not in the device's group.
    row("not in the modem's group", echo, {}, {"3"}, 3,
        {NoComPorts + " Abhilfe: im Terminal „sudo adduser nobody dialout“ eingeben und sich "
                      "danach ab- und wieder anmelden."},
        {}, {}, NotInGroup);
    const QString unset = QStringLiteral("weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt");
    row("no argument", echo, {}, {}, 2, {NoDesktop.arg(unset)});
    row("debug", echo, {}, {" Debug "}, 2, {NoDesktop.arg(unset)});
    row("window on a DISPLAY that leads nowhere", echo, {}, {"DISPLAY=:8417"}, 2,
        {NoDesktop.arg(QStringLiteral("DISPLAY=:8417 antwortet nicht"))});
    // A settings file its user may not read: nothing is sent, the slot given by number or by
    // name alike.
    for (const QString &slot : {QStringLiteral("3"), QStringLiteral(" NÄCHTE ")})
        row("unreadable settings, slot '" + slot + '\'', echo, {}, {slot}, 1,
            {"Telmaris: Die Einstellungsdatei konnte nicht gelesen werden: %F/Telmaris.Ini "
             "Zugriff verweigert"},
            {}, {}, Unreadable);
}

void TestEndToEnd::runWithoutDisplay() {
    QFETCH(QStringList, simulator);
    QFETCH(QByteArray, moreSettings);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, errorLines);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(int, fault);
    QFETCH(QString, logEnd);
    const bool asNobody = fault == Unreadable || fault == NotInGroup;
    if (asNobody && geteuid() != 0)
        QSKIP("only the superuser can start the program as another user");
    Installation installation(simulator, moreSettings);
    if (fault == LogBlocked)
        installation.folder.writeFile("state/Telmaris", "a file where the folder belongs");
    if (fault == Unreadable)
        QVERIFY(QFile::setPermissions(installation.folder.iniPath(),
                                      QFile::ReadOwner | QFile::WriteOwner));
    if (fault == NotInGroup) {
        const group *dialout = getgrnam("dialout");
        QVERIFY(dialout);
        const QByteArray modem = QFile::encodeName(installation.folder.filePath("modem"));
        QVERIFY(::chown(modem.constData(), 0, dialout->gr_gid) == 0 &&
                ::chmod(modem.constData(), 0660) == 0);
    }
    if (asNobody)
        QVERIFY(QFile::setPermissions(installation.folder.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther));
    QCOMPARE(installation.run(arguments, asNobody ? QStringLiteral("65534") : QString()), status);

    const QString folder = installation.folder.path();
    QCOMPARE(installation.errorLines, errorLines.replaceInStrings("%F", folder));
    // A port is named only when the run needs it and it cannot be used: COM 1, when none can.
    QCOMPARE(installation.otherLines.size(), status == 3 ? 1 : 0);
    // The log: the header, every command as sent, the end.
    const QStringList logged = installation.folder.runLog();
    QCOMPARE(logged.isEmpty() ? QString() : logged.last(), logEnd);
    QList<QByteArray> sent;
    for (const QString &line : logged)
        if (line.startsWith(QString::fromUtf8("gesendet: »")) && line.endsWith(u"<CR>«"))
            sent << line.mid(11).chopped(5).toLatin1();
    QCOMPARE(sent, fault == LogBlocked ? QList<QByteArray>{} : commands);
    if (!sent.isEmpty())
        QCOMPARE(logged.first(),
                 LogHeader.arg(folder, arguments.contains("5") ? QStringLiteral("5")
                                                               : QString::fromUtf8("3 »Nächte«")));
    QCOMPARE(installation.commands(), commands);
    QCOMPARE(installation.folder.readIni(), installation.ini);
    // Without its answer time limit the silent modem would hold the run for a minute.
    QVERIFY2(installation.seconds < 30, qPrintable(QString::number(installation.seconds)));
}

// systemd stops the job while the script waits in a PAUSE: the line is hung up, the port
// closed and unlocked, the log ends with the reason, and the process ends by the signal.
void TestEndToEnd::sigtermDuringAPauseHangsUp() {
    Installation installation({"--echo"}, "SkriptText5=PAUSE 30\\N\\LWÄHLE 1\r\n");
    QProcess program;
    installation.start(program, {"5"});
    // Reset and initialisation answered, their second over: the run is in the PAUSE.
    QTRY_COMPARE_WITH_TIMEOUT(installation.commands().size(), 2, 20000);
    QTest::qWait(1500);
    QCOMPARE(installation.commands().size(), 2);
    program.terminate();
    QVERIFY(program.waitForFinished(10000));

    QCOMPARE(program.exitStatus(), QProcess::CrashExit);
    QCOMPARE(program.exitCode(), SIGTERM);
    QTRY_COMPARE(installation.commands(), Prepare + QList<QByteArray>{"ATH0"});
    const QString message = QString::fromUtf8(
        "Das Skript wurde abgebrochen, weil das Programm beendet werden soll (Signal SIGTERM).");
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
             "Telmaris: Skript 5, COM 1 (" + installation.folder.filePath("modem") +
                 "): " + message + '\n');
    QCOMPARE(installation.folder.runLog().last(),
             QString::fromUtf8("Ende: Programmabbruch durch Signal SIGTERM! – »") + message +
                 QString::fromUtf8("« – Dauer … s"));
    for (const QString &folder : telmaris::lockFolders())
        for (const QString &name : telmaris::lockFileNames(installation.folder.filePath("modem")))
            QVERIFY2(!QFile::exists(folder + '/' + name), qPrintable(folder + '/' + name));
    QCOMPARE(installation.folder.readIni(), installation.ini);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
