// The Windows serial line on COM 1, which the test's Wine prefix leads to the modem simulator:
// what goes out and comes back, a port that is not there or is held, the modem's end noticed at
// once, and which of a port's error flags end a run (Wine reports none of them). And the console
// companion's scheduled runs: a task without a logged-on user, whose boxes are lines, and the
// session's end during a run.
#include "HostModem.h"
#include "TempProgramFolder.h"
#include "ports/CommErrors.h"
#include "ports/PortMap.h"
#include "ports/SerialLine.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <windows.h>

using namespace telmaris;
using telmaris::test::HostModem;
using telmaris::test::TempProgramFolder;

class TestComPort : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errorFlagsThatEndARun();
    void talksToTheModemAndNoticesItsEnd();
    void portsThatCannotBeOpened();
    void usbModemTakesAFreeComNumber();
    void scheduledRuns_data();
    void scheduledRuns();
    void stopDuringAPauseHangsUp_data();
    void stopDuringAPauseHangsUp();
};

void TestComPort::errorFlagsThatEndARun() {
    const std::optional<LineError> none;
    const std::pair<unsigned long, std::optional<LineError>> rows[] = {
        {0, none},
        {CE_FRAME, none}, // such a character arrives as a NUL byte
        {CE_OVERRUN, LineError::Failed},
        {CE_RXOVER, LineError::Failed},
        {CE_BREAK, LineError::Failed},
        {CE_RXPARITY, LineError::Failed},
        {CE_FRAME | CE_BREAK, LineError::Failed},
    };
    for (const auto &[flags, outcome] : rows)
        QVERIFY2(lineErrorOfCommErrors(flags) == outcome, qPrintable(QString::number(flags, 16)));
}

void TestComPort::talksToTheModemAndNoticesItsEnd() {
    TempProgramFolder folder;
    HostModem modem(folder.path());
    SerialLine line;
    QByteArray answer;
    connect(&line, &SerialLine::received, [&answer](const QByteArray &bytes) { answer += bytes; });
    QSignalSpy errors(&line, &SerialLine::errorEvent);
    QString error;
    QVERIFY2(line.open(QStringLiteral("COM1"), 1200, false, &error), qPrintable(error));

    line.write("AT\r");
    line.write("ATI3\r");
    QTRY_COMPARE(answer, QByteArray("\r\nOK\r\n\r\nTelmaris Modem-Simulator V1.0\r\n\r\nOK\r\n"));
    QCOMPARE(modem.commands(), (QList<QByteArray>{"AT", "ATI3"}));

    modem.stop();
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 2000);
    QCOMPARE(errors.takeFirst().at(0).value<LineError>(), LineError::Gone);
    line.write("AT\r");
    QCOMPARE(errors.count(), 1);
    QVERIFY(errors.takeFirst().at(0).value<LineError>() == LineError::Gone);
}

void TestComPort::portsThatCannotBeOpened() {
    SerialLine line;
    QString error;
    QVERIFY(!line.open(QStringLiteral("COM9"), 1200, false, &error));
    QCOMPARE(error, QStringLiteral("Das Gerät COM9 ist nicht vorhanden. Ist das Modem eingesteckt "
                                   "und eingeschaltet? Ein ausgestecktes USB-Modem verschwindet "
                                   "mit seinem Gerät; nach dem Einstecken findet es „Neu suchen“ "
                                   "auf der Optionsseite."));
}

// The ports a Windows system lists, in the order COM numbers are given them: modems first (a
// modem is listed among the ports too), then by number. A COM number whose own port does not
// exist takes the next of them.
void TestComPort::usbModemTakesAFreeComNumber() {
    const SerialDevice modem{"USB-Modem", "Acme", "", "COM7"};
    const SerialDevice com1{"Kommunikationsanschluss", "", "", "COM1"};
    const SerialDevice adapter{"USB Serial Port", "FTDI", "", "COM12"};
    const SerialDevices listed = orderForComNumbers({modem}, {adapter, modem, com1});
    QStringList order;
    for (const SerialDevice &device : listed)
        order << device.path;
    QCOMPARE(order, (QStringList{"COM7", "COM1", "COM12"}));

    const std::pair<SerialDevices, QStringList> rows[] = {
        {{modem}, {"COM7", "COM2", "COM3", "COM4"}},
        {listed, {"COM1", "COM7", "COM12", "COM4"}},
    };
    for (const auto &[devices, expected] : rows) {
        PortMap ports;
        ports.fillFrom(devices);
        QCOMPARE(QStringList({ports.device(1), ports.device(2), ports.device(3), ports.device(4)}),
                 expected);
    }
}

namespace {

const QList<QByteArray> Prepare{"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1"};
const QByteArray Nights =
    "[Data]\r\nComPort=1\r\nSkriptName3=N\xC3\xA4\x63hte\r\n"
    "SkriptText3=TONWAHL\\N\\LW\xC3\x84HLE 55\\N\\LERDTASTE\\N\\L"
    "AUFLEGEN\r\nSkriptName5=T\xC3\xBCr\r\nSkriptText5=PAUSE 30\\N\\LW\xC3\x84HLE 1\r\n";

// The console companion in a temporary program folder, started as a scheduled task without a
// logged-on user starts it: in a window station that nobody sees, where a box would wait for
// ever. Its run log goes to the folder too.
struct ScheduledRun {
    TempProgramFolder folder;
    QProcess process;

    explicit ScheduledRun(const QByteArray &settings) {
        const QString program = folder.filePath(QStringLiteral("telmaris-cli.exe"));
        if (!QFile::copy(QStringLiteral(TELMARIS_CLI), program))
            throw std::runtime_error("cannot copy the program");
        folder.writeIni(settings);
    }
    // hidden: in a window station that nobody sees, as a task without a logged-on user runs.
    void start(const QString &argument, bool hidden = true) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"),
                           folder.filePath(QStringLiteral("state")));
        // The toolkit's windows, which hear of the session's end too, in the user's station.
        if (!hidden)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("windows"));
        process.setProcessEnvironment(environment);
        process.setCreateProcessArgumentsModifier(
            [hidden](QProcess::CreateProcessArguments *arguments) {
                static wchar_t desktop[] = L"TelmarisTask\\Default";
                if (hidden)
                    arguments->startupInfo->lpDesktop = desktop;
            });
        process.start(folder.filePath(QStringLiteral("telmaris-cli.exe")), {argument});
    }
    QString errorText() { return QString::fromLocal8Bit(process.readAllStandardError()); }
};

// The process's top-level windows, which Windows tells of the session's end: the toolkit's, if it
// shows any, and last the hidden one that takes the program's way out.
QList<HWND> topLevelWindowsOf(qint64 processId) {
    struct Search {
        DWORD processId;
        QList<HWND> found;
    } search{DWORD(processId), {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto *search = reinterpret_cast<Search *>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (owner == search->processId) {
                if (std::wcscmp(name, L"TelmarisSessionEnd") == 0)
                    search->found.append(window);
                else
                    search->found.prepend(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

// Scheduled runs: the modem's commands, the exit status, the one line on standard error, and
// the settings file as it was, for a run that succeeds and for each way a modem fails it.
void TestComPort::scheduledRuns_data() {
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QList<QByteArray>>("commands");
    const QString failed = QString::fromUtf8("Telmaris: Skript 3 »Nächte«, COM 1 (COM1): ");
    const QString refused = QString::fromUtf8(
        "Das Modem hat einen Befehl nicht verstanden - bitte Verbindung und Optionen prüfen. ");
    const QList<QByteArray> refusedDial = Prepare + QList<QByteArray>{"ATDT55;", "ATH0"};
    QTest::newRow("nights") << QStringList() << 0 << QString()
                            << Prepare +
                                   QList<QByteArray>{"ATDT55;", "ATDT!;", "ATH0", "AT&F", "ATH0"};
    QTest::newRow("modem error") << QStringList{"--error-on", "DT55"} << 1
                                 << failed + refused +
                                        QString::fromUtf8(
                                            "Abgelehnter Befehl: „ATDT55;“ (Zeile 2: WÄHLE 55)\r\n")
                                 << refusedDial;
    QTest::newRow("no dial tone")
        << QStringList{"--dial-result", "NO DIALTONE"} << 1
        << failed + refused +
               QString::fromUtf8("Das Modem hört keinen Wählton („NO DIALTONE“). Abhilfe: X0 "
                                 "(ohne Wählton wählen) in der Modem-Initialisierung; die "
                                 "Vorgabe enthält es.\r\n")
        << refusedDial;
    QTest::newRow("modem gone mid-run")
        << QStringList{"--drop-after", "3"} << 1
        << failed + QString::fromUtf8("Das Modem reagiert nicht - ist es eingeschaltet? Die "
                                      "Verbindung zum Modem ist unterbrochen (Kabel gezogen oder "
                                      "Modem ausgeschaltet).\r\n")
        << Prepare + QList<QByteArray>{"ATDT55;"};
}

void TestComPort::scheduledRuns() {
    QFETCH(QStringList, simulator);
    QFETCH(int, status);
    QFETCH(QString, errorText);
    QFETCH(QList<QByteArray>, commands);
    ScheduledRun run(Nights);
    HostModem modem(run.folder.path(), simulator);
    QElapsedTimer clock;
    clock.start();
    run.start(QStringLiteral("3"));
    QVERIFY(run.process.waitForFinished(60000));
    QCOMPARE(run.errorText(), errorText);
    QCOMPARE(run.process.exitCode(), status);
    QCOMPARE(modem.commands(), commands);
    QCOMPARE(run.folder.readIni(), Nights);
    // A modem that is gone ends the run at once, not after the answer time.
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
}

// Ctrl+C in the console, or logoff or shutdown, while the script waits in a PAUSE: the line is
// hung up, the log ends with the reason, and the exit status is that of a program that Ctrl+C
// ends.
void TestComPort::stopDuringAPauseHangsUp_data() {
    QTest::addColumn<QString>("stop");
    QTest::newRow("Ctrl+C") << QStringLiteral("CTRL_C_EVENT");
    QTest::newRow("logoff") << QStringLiteral("WM_ENDSESSION");
}

void TestComPort::stopDuringAPauseHangsUp() {
    QFETCH(QString, stop);
    ScheduledRun run(Nights);
    HostModem modem(run.folder.path());
    // Started from the test's console (Wine gives it one on a terminal), as from cmd; the
    // session's end reaches its windows.
    QVERIFY2(GetConsoleWindow(), "the test needs a console");
    run.start(QStringLiteral("5"), false);
    QTRY_COMPARE_WITH_TIMEOUT(modem.commands(), Prepare, 20000);
    if (stop == QStringLiteral("CTRL_C_EVENT")) {
        // To every process on the console, but this one.
        SetConsoleCtrlHandler(nullptr, TRUE);
        QVERIFY(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    } else {
        QList<HWND> windows;
        QTRY_VERIFY(!(windows = topLevelWindowsOf(run.process.processId())).isEmpty());
        DWORD_PTR answer = 0;
        for (HWND window : windows) {
            QVERIFY(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                        SMTO_ABORTIFHUNG, 10000, &answer));
            QCOMPARE(answer, DWORD_PTR(TRUE));
        }
        // The last one is answered once the way out is done, or when the process is gone.
        for (HWND window : windows)
            SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                10000, &answer);
    }

    QVERIFY(run.process.waitForFinished(10000));
    SetConsoleCtrlHandler(nullptr, FALSE);
    QCOMPARE(DWORD(run.process.exitCode()), DWORD(STATUS_CONTROL_C_EXIT));
    QCOMPARE(modem.commands(), Prepare + QList<QByteArray>{"ATH0"});
    const QString message = QString::fromUtf8("Das Skript wurde abgebrochen, weil das Programm "
                                              "beendet werden soll (Signal %1).")
                                .arg(stop);
    // With the umlaut in the name as the system's code page writes it.
    QCOMPARE(run.errorText(),
             QString::fromUtf8("Telmaris: Skript 5 »Tür«, COM 1 (COM1): ") + message + "\r\n");
    QCOMPARE(run.folder.runLog().last(),
             QString::fromUtf8("Ende: Programmabbruch durch Signal %1! – »").arg(stop) + message +
                 QString::fromUtf8("« – Dauer … s"));
    QCOMPARE(run.folder.readIni(), Nights);
}

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
