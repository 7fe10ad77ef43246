// The serial devices the system reports, as a user with a USB modem meets them: the modem
// becomes a COM number with no file edited, the choice is kept in the settings file, and a
// device plugged in after start can be chosen on the options page. The system's device list
// is handed in; a modem simulator on a pseudo-terminal stands in for each USB modem, so on
// Windows only the options page's texts are checked.
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "editor/ScriptEdit.h"
#include "options/OptionsPage.h"
#include "ports/PortDiagnosis.h"
#include "ports/PortMap.h"
#include "shell/MainWindow.h"
#include "store/IniFile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest>

// After the Qt headers, which define Q_OS_WIN.
#ifndef Q_OS_WIN
#include "PtyModem.h"
#endif

using namespace telmaris;
using namespace telmaris::test;

namespace {

struct Program {
    Program(const TempProgramFolder &folder, const SerialDevices &devices)
        : detected(devices), window(folder.path(), dialogs) {
        window.setDeviceDetector([this] { return detected; });
    }
    template <class T = QWidget> T *child(const QString &name) const {
        T *found = window.findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    // Starts in the window and waits for the probe of the ports.
    bool start() {
        QSignalSpy up(&window, &MainWindow::startedUp);
        return !window.init(QString()) && (!up.isEmpty() || up.wait());
    }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    void selectTab(int tab) const { child<QTabBar>("scriptTabs")->setCurrentIndex(tab - 1); }
    QString info(int comPort) const {
        return child<QLabel>(QStringLiteral("com%1Info").arg(comPort))->text();
    }
    bool run() {
        selectTab(1);
        QSignalSpy ended(&window, &MainWindow::runEnded);
        click("programButton");
        return (!ended.isEmpty() || ended.wait(30000)) &&
               dialogs.texts.last() ==
                   QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.");
    }
    SerialDevices detected;
    ScriptedDialogs dialogs;
    MainWindow window;
};

// Section [Ports]: COM 1 to 4 on these devices.
QByteArray portsSection(const QStringList &devices) {
    QByteArray ports = "[Ports]\n";
    for (int n = 1; n <= 4; ++n)
        ports += "COM" + QByteArray::number(n) + '=' + devices.at(n - 1).toUtf8() + '\n';
    return ports;
}

} // namespace

class TestSerialDevices : public QObject {
    Q_OBJECT
private Q_SLOTS:
#ifndef Q_OS_WIN
    void aUsbModemOnlyBecomesCom1AndKeepsIt();
    void aDeviceIsChosenOnTheOptionsPage();
    void withoutAUsablePortTheWindowOpensOnItsReasons();
#endif
    void theOptionsPageShowsItsLongestTextsWhole();
};

#ifndef Q_OS_WIN
namespace {

// A USB modem as the system reports it, its stable name a link in folder to the simulator.
SerialDevice usbModem(PtyModem &modem, const TempProgramFolder &folder, const QString &name) {
    const QString link = folder.filePath(QStringLiteral("usb-Acme_") + name + "-if00");
    if (!QFileInfo::exists(link) && !modem->createLink(link))
        qFatal("no link %s", qPrintable(link));
    return SerialDevice{name, QStringLiteral("Acme"), link, modem.devicePath()};
}

} // namespace

void TestSerialDevices::aUsbModemOnlyBecomesCom1AndKeepsIt() {
    TempProgramFolder folder; // no settings file yet
    PtyModem modem;
    const SerialDevice device = usbModem(modem, folder, QStringLiteral("Modem"));
    {
        Program program(folder, {device});
        QVERIFY(program.start());
        // The first start asks to check the port, on the page that shows it.
        QCOMPARE(program.dialogs.texts,
                 QStringList{QString::fromUtf8("Bitte überprüfen Sie die Port-Einstellung.")});
        QCOMPARE(program.child<QTabBar>("scriptTabs")->currentIndex() + 1, 101);
        QVERIFY(program.child<QRadioButton>("com1Button")->isChecked());
        QCOMPARE(program.info(1), "Modem, Acme, " + modem.devicePath());

        program.selectTab(1);
        QTest::keyClicks(program.child<ScriptEdit>("scriptEdit"), QStringLiteral("MODEM ATM1"));
        QVERIFY(program.run());
        QTRY_COMPARE(modem.commands().size(), 5); // with the hang-up at the end
        QCOMPARE(modem.commands().at(2), QByteArray("ATM1"));
        QVERIFY(program.window.close());
    }
    // The device is stored under its stable name, for COM 1 only.
    const IniSnapshot stored = IniSnapshot::load(folder.iniPath());
    QCOMPARE(stored.value(PortsSection, "COM1"), device.stableName);
    QCOMPARE(stored.value(PortsSection, "COM2"), QString());
    QCOMPARE(stored.value(DataSection, "ComPort"), QStringLiteral("1"));

    // A second modem that sorts first, plugged in later, moves no COM number.
    PtyModem second;
    Program program(folder, {usbModem(second, folder, QStringLiteral("AModem")), device});
    QVERIFY(program.start());
    QCOMPARE(program.child<QTabBar>("scriptTabs")->currentIndex() + 1, 1);
    QVERIFY(program.run());
    QTRY_COMPARE(modem.commands().size(), 10);
    QVERIFY(second.commands().isEmpty());
}

void TestSerialDevices::aDeviceIsChosenOnTheOptionsPage() {
    TempProgramFolder folder;
    PtyModem first;
    // COM 2 to 4 stand for no device of this machine.
    const QString absent = folder.filePath("absent");
    const QByteArray ports = portsSection({first.devicePath(), absent, absent, absent});
    folder.writeIni("[Data]\nComPort=1\nSkriptText1=MODEM ATM1\n" + ports);
    Program program(folder, {});
    QVERIFY(program.start());
    program.selectTab(101);
    auto *com2 = program.child<QComboBox>("com2Device");
    QCOMPARE(com2->count(), 0);

    // A modem plugged in after start is found on "Neu suchen", chosen for COM 2 and usable.
    PtyModem second;
    program.detected = {usbModem(second, folder, QStringLiteral("Modem"))};
    program.click("rescanButton");
    QTRY_COMPARE(com2->count(), 1);
    QVERIFY(!program.child("com2Button")->isEnabled());
    com2->setFocus();
    QTest::keyClick(com2, Qt::Key_Down);
    QTRY_VERIFY(program.child("com2Button")->isEnabled());
    QCOMPARE(program.info(2), "Modem, Acme, " + second.devicePath());
    // A path typed for COM 3 that is no device: the page says why, in short beside it and
    // in full, with the remedy, below the ports.
    const QString typed = folder.filePath("ttyUSB9");
    auto *com3 = program.child<QComboBox>("com3Device");
    com3->lineEdit()->selectAll();
    QTest::keyClicks(com3->lineEdit(), typed);
    QTest::keyClick(com3->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE(program.info(3), QString::fromUtf8("Gerät nicht vorhanden"));
    const auto *reason = program.child<QLabel>("portReason");
    QTRY_COMPARE(reason->text(),
                 QString::fromUtf8("COM 3: Das Gerät %1 ist nicht vorhanden. Ist das Modem "
                                   "eingesteckt und eingeschaltet? Ein ausgestecktes "
                                   "USB-Modem verschwindet mit seinem Gerät; nach dem "
                                   "Einstecken findet es „Neu suchen“ auf der "
                                   "Optionsseite.")
                     .arg(typed));

    // The line of another port that cannot be used explains that one instead.
    program.click("com4Info");
    QVERIFY(reason->text().startsWith(QStringLiteral("COM 4: ")));

    program.click("com2Button");
    QVERIFY(program.run());
    QCOMPARE(second.commands().at(2), QByteArray("ATM1"));
    QVERIFY(first.commands().isEmpty());
    QVERIFY(program.window.close());
    // The choices are stored in [Ports] at the close, in place; the other entries are left as
    // they were.
    const QByteArray file = folder.readIni();
    QCOMPARE(
        file.mid(file.indexOf("[Ports]")),
        QByteArray(ports)
            .replace("COM2=" + absent.toUtf8(), "COM2=" + program.detected[0].stableName.toUtf8())
            .replace("COM3=" + absent.toUtf8(), "COM3=" + typed.toUtf8()));
    QCOMPARE(IniSnapshot::load(folder.iniPath()).value(DataSection, "ComPort"), "2");
}

// No port can be opened (the modem is not plugged in): the window opens on the options page,
// which says why; the stored port is kept, and once the modem is there a run can start.
void TestSerialDevices::withoutAUsablePortTheWindowOpensOnItsReasons() {
    TempProgramFolder folder;
    const QString link = folder.filePath(QStringLiteral("usb-Acme_Modem-if00"));
    const QString absent = folder.filePath(QStringLiteral("no-such-port"));
    folder.writeIni("[Data]\nComPort=2\nSkriptText1=MODEM ATM1\n" +
                    portsSection({absent, link, absent, absent}));
    Program program(folder, {});
    QVERIFY(program.start());
    QCOMPARE(program.dialogs.texts,
             QStringList{QString::fromUtf8("Keine der Schnittstellen COM 1 bis COM 4 lässt sich "
                                           "öffnen. Die Gründe stehen auf der Seite „Optionen“.")});
    QCOMPARE(program.child<QTabBar>("scriptTabs")->currentIndex() + 1, 101);
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(program.info(n), QString::fromUtf8("Gerät nicht vorhanden"));
    auto *com2 = program.child<QRadioButton>("com2Button");
    QVERIFY(com2->isChecked() && !com2->isEnabled());
    auto *programButton = program.child<QPushButton>("programButton");
    program.selectTab(1);
    QVERIFY(!programButton->isEnabled());

    // The modem is plugged in: "Neu suchen" finds it behind COM 2.
    PtyModem modem;
    QVERIFY(modem->createLink(link));
    program.selectTab(101);
    program.click("rescanButton");
    QTRY_VERIFY(com2->isEnabled());
    QVERIFY(program.run());
    QCOMPARE(modem.commands().at(2), QByteArray("ATM1"));
    QVERIFY(program.window.close());
    QCOMPARE(IniSnapshot::load(folder.iniPath()).value(DataSection, "ComPort"),
             QStringLiteral("2"));
}
#endif

// At the window's first size, also with larger fonts (the test runs once more with
// QT_FONT_DPI=120): each port's short reason and its whole reason, of every kind and for a long
// device path, the run log's path (whole, or its middle left out with all of it in the
// tooltip), and at least eight script names.
void TestSerialDevices::theOptionsPageShowsItsLongestTextsWhole() {
    TempProgramFolder folder;
    const QString device = QStringLiteral("/dev/serial/by-id/usb-Hersteller_Analogmodem_56k_"
                                          "Seriennummer_0123456789-if00");
    folder.writeIni("[Data]\nComPort=1\n" + portsSection({device, device, device, device}));
    Program program(folder, {});
    QVERIFY(program.start());
    QCOMPARE(program.child<QTabBar>("scriptTabs")->currentIndex() + 1, 101);

    PortProbe probe;
    const std::array<QString, 4> devices{device, device, device, device};
    probe.reasons = {permissionReason({device, 0600, QStringLiteral("root"), QStringLiteral("root"),
                                       QStringLiteral("anna")}),
                     diagnosePort(device, QString()),
                     QString::fromUtf8("Das Gerät %1 ist belegt: „minicom“ (Prozess 4711) hält es. "
                                       "Beenden Sie dieses Programm, oder wählen Sie eine "
                                       "andere Schnittstelle.")
                         .arg(device),
                     QString::fromUtf8("%1 lässt sich nicht öffnen: Eingabe-/Ausgabefehler beim "
                                       "Zugriff auf das Gerät")
                         .arg(device)};
    program.window.findChild<OptionsPage *>()->setPorts(probe, devices);
    const auto fits = [](const QLabel *label) {
        const QRect room = label->contentsRect();
        return label->isVisible() &&
               label->fontMetrics()
                       .boundingRect(room, Qt::TextWordWrap, label->text())
                       .size()
                       .boundedTo(room.size()) ==
                   label->fontMetrics().boundingRect(room, Qt::TextWordWrap, label->text()).size();
    };
    const auto *reason = program.child<QLabel>("portReason");
    for (int n = 1; n <= 4; ++n) {
        const auto *info = program.child<QLabel>(QStringLiteral("com%1Info").arg(n));
        QVERIFY2(fits(info), qPrintable(info->text()));
        program.click(QStringLiteral("com%1Info").arg(n));
        QTRY_VERIFY2(fits(reason) && program.window.rect().contains(QRect(
                                         reason->mapTo(&program.window, QPoint()), reason->size())),
                     qPrintable(reason->text()));
    }

    const auto *log = program.child<QLabel>("runLogPath");
    QVERIFY(fits(log));
    QVERIFY(log->text() == log->toolTip() || log->text().contains(QChar(0x2026)));
    QVERIFY(log->toolTip().endsWith(QDir::toNativeSeparators(QStringLiteral("/Telmaris.log"))));
    const auto *names = program.child<QListWidget>("nameList");
    QVERIFY2(names->viewport()->height() >= 8 * names->sizeHintForRow(0),
             qPrintable(QString::number(names->viewport()->height())));
}

QTEST_MAIN(TestSerialDevices)
#include "tst_serialdevices.moc"
