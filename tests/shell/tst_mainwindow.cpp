// The main window as a user meets it: tab switching with its stores and loads, the options
// page and what reaches the settings file at the end, the hover hints, AutoMode's title, the
// modem test, keyboard paths, help, info and logo, and the toolkit's own texts in German. Every
// test runs the real window on a temporary program folder with the modem simulator as COM 1;
// on Windows, without a modem, only those that need no port that can be opened.
#include "ProgramFixture.h"
#include "editor/ScriptEdit.h"
#include "options/ModemTestDialog.h"
#include "options/OptionsPage.h"
#include "ports/SerialLine.h"
#include "shell/ToolkitTranslation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QtTest>

using namespace telmaris;
using namespace telmaris::test;

namespace {

// A check box or radio button reacts to clicks on its box and caption, not on the empty rest
// of its row.
void clickIndicator(QAbstractButton *box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void doubleClickEntry(QListWidget *list, int row) {
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

const QString ScriptStatus = QStringLiteral(" Bitte Skript bearbeiten oder abschicken");
const QByteArray Init = "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1";

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hoverHintsGoToTheStatusLine();
    void tabSwitchStoresAndLoadsOnlyWhenItMust();
    void optionsReachTheFileOnlyAtTheEnd();
    void keyboardPaths_data();
    void keyboardPaths();
    void helpInfoAndLogo();
#ifndef Q_OS_WIN
    void portsAreProbedOnlyAnew();
    void theWindowShowsBeforeThePortsAreProbed();
    void autoModeNamesItsSlotInTheTitle();
    void withADisplayARunWaitsUntilAborted_data();
    void withADisplayARunWaitsUntilAborted();
    void modemTestShowsAnswersAndVerdict_data();
    void modemTestShowsAnswersAndVerdict();
#endif
};

void TestMainWindow::tabSwitchStoresAndLoadsOnlyWhenItMust() {
    ProgramFixture program("CurrSkript=3\nSkriptName3=Drei\nSkriptText3=Zeile A\\N\\LZeile B\n"
                           "SkriptText7=Sieben\n");
    QVERIFY(program.open());
    auto *slider = program.child<QSlider>("scriptSlider");
    QCOMPARE(program.tabs()->tabText(2), QStringLiteral("Drei"));
    QCOMPARE(program.tabs()->tabText(100), QStringLiteral("Optionen"));
    QCOMPARE(slider->value(), 3);
    QCOMPARE(program.editor(0)->crlfText(), QStringLiteral("Zeile A\r\nZeile B"));

    // 3 -> 7 stores slot 3's changed text, then loads slot 7.
    typeAtEnd(program.editor(0), QStringLiteral("!"));
    QCOMPARE(program.stored("SkriptText3"), QStringLiteral("Zeile A\\N\\LZeile B"));
    program.clickTab(7);
    QCOMPARE(program.stored("SkriptText3"), QStringLiteral("Zeile A\\N\\LZeile B!"));
    QCOMPARE(program.editor(0)->crlfText(), QStringLiteral("Sieben"));
    QCOMPARE(program.statusLine(), ScriptStatus);
    QCOMPARE(slider->value(), 7);

    // Clicking the tab shown neither stores nor loads: neither a typed change reaches the
    // file nor does a text changed in the file behind the program's back reach the editor.
    IniFile ini(program.folder.iniPath());
    ini.writeIni(QStringLiteral("SkriptText7"), QStringLiteral("Anders"));
    typeAtEnd(program.editor(0), QStringLiteral("?"));
    program.clickTab(7);
    QCOMPARE(program.editor(0)->crlfText(), QStringLiteral("Sieben?"));
    QCOMPARE(program.stored("SkriptText7"), QStringLiteral("Anders"));

    // To the options page (stores, once the user chose to overwrite what the file holds now),
    // wrap switched on there, back to the same slot: the text is read back into the wrapping box.
    program.dialogs.yesNo = {true};
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);
    QVERIFY(program.dialogs.texts.value(0).startsWith(
        QStringLiteral("Das Skript 7 wurde inzwischen in %1 geändert")
            .arg(QDir::toNativeSeparators(program.folder.iniPath()))));
    QCOMPARE(program.stored("SkriptText7"), QStringLiteral("Sieben?"));
    QCOMPARE(program.statusLine(), QStringLiteral(" Bitte gewünschte Änderungen vornehmen"));
    QVERIFY(!program.button("programButton")->isEnabled());
    QCOMPARE(slider->value(), 101);
    clickIndicator(program.child<QCheckBox>("umbruchCheck"));
    ini.writeIni(QStringLiteral("SkriptText7"), QStringLiteral("Neu\\N\\Lgelesen"));
    slider->setValue(7);
    QCOMPARE(program.button("programButton")->isEnabled(), WithModem); // with a port to open
    QCOMPARE(program.statusLine(), ScriptStatus);
    QVERIFY(program.editor(1)->isVisible() && !program.editor(0)->isVisible());
    QCOMPARE(program.editor(1)->crlfText(), QStringLiteral("Neu\r\ngelesen"));
    QVERIFY(program.editor(1)->hasFocus());

    // Going back and forth without typing writes nothing.
    const QByteArray before = program.folder.readIni();
    program.clickTab(3);
    QCOMPARE(program.editor(1)->crlfText(), QStringLiteral("Zeile A\r\nZeile B!"));
    program.clickTab(7);
    QCOMPARE(program.folder.readIni(), before);
}

void TestMainWindow::optionsReachTheFileOnlyAtTheEnd() {
    ProgramFixture program("ComPort=1\nSkriptName2=Zwei\nSkriptName3=Drei\n", /*secondModem=*/true);
    QVERIFY(program.open());
    const QByteArray atStart = program.folder.readIni();
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);

    // COM 3 could not be opened by the probe: it cannot be chosen. Each port names its device.
    auto *com2 = program.child<QRadioButton>("com2Button");
    auto *com3 = program.child<QRadioButton>("com3Button");
    QVERIFY(com2->toolTip().contains(program.device(2)));
    QVERIFY(com3->toolTip().contains(QStringLiteral("no-such-port-3")));
    QTest::mouseClick(com3, Qt::LeftButton);
    QVERIFY(!com3->isChecked() && !com3->isEnabled());
    QTest::mouseClick(com2, Qt::LeftButton); // chosen where its modem can be opened

    // The modem strings lose any number of leading "AT" as they are typed, no other.
    auto *reset = program.child<QLineEdit>("modemResetEdit");
    reset->clear();
    QTest::keyClicks(reset, QStringLiteral("atAT&F"));
    QCOMPARE(reset->text(), QStringLiteral("&F"));

    auto *speedFrame = program.child<QGroupBox>("speedFrame");
    QCOMPARE(speedFrame->title(), QStringLiteral("Modem-Speed: 1200"));
    QTest::keyClick(program.child("speedSlider"), Qt::Key_End);
    QCOMPARE(speedFrame->title(), QStringLiteral("Modem-Speed: 28800"));
    clickIndicator(program.child<QAbstractButton>("pulseButton"));
    QTest::keyClick(program.child("lineLenSlider"), Qt::Key_Home);
    QCOMPARE(program.child<QGroupBox>("lineLenFrame")->title(), QStringLiteral("Linienlänge: 1"));
    clickIndicator(program.child<QCheckBox>("umbruchCheck"));

    // Renaming slot 12 by double-click: the list shows the trimmed name, and so does its tab at
    // once; a slot without name shows its number there. Cancelling a rename keeps slot 2's name; OK
    // with an empty text leaves slot 3 without name. A name of blanks shows as nothing (slot 5);
    // "(kein)" is no name (slot 6).
    auto *names = program.child<QListWidget>("nameList");
    // A name the command line would take for another script's is given only when the user
    // insists: slot 7 takes slot 2's name, slot 8 keeps none instead of "1".
    program.dialogs.answers = {QStringLiteral("  Zentrale: Nacht  "),
                               std::nullopt,
                               QString(),
                               QStringLiteral("   "),
                               QStringLiteral("(kein)"),
                               QStringLiteral(" ZWEI "),
                               QStringLiteral("1")};
    program.dialogs.yesNo = {true, false};
    QStringList shown;
    QStringList captions;
    for (int row : {11, 1, 2, 4, 5, 6, 7}) {
        doubleClickEntry(names, row);
        shown << names->item(row)->text();
        captions << program.tabs()->tabText(row);
    }
    QCOMPARE(shown, (QStringList{"12: Zentrale: Nacht", "2: Zwei", "3: (kein)", "5: ", "6: (kein)",
                                 "7: ZWEI", "8: (kein)"}));
    QCOMPARE(captions, (QStringList{"Zentrale: Nacht", "Zwei", "3", "5", "6", "ZWEI", "8"}));
    // The options page stays shown, the slider on it.
    QCOMPARE(program.tabs()->currentIndex() + 1, 101);
    QCOMPARE(program.child<QSlider>("scriptSlider")->value(), 101);
    QCOMPARE(
        program.dialogs.texts,
        (QStringList{QString::fromUtf8("Mit dem Namen „ZWEI“ für Skript 7 gilt im AutoMode:\r"
                                       "– Skript 2 heißt schon „Zwei“; „telmaris ZWEI“ startet "
                                       "immer das Skript mit der kleineren Nummer, Skript 2."
                                       "\r\rDen Namen trotzdem vergeben? Mit „Nein“ bleibt "
                                       "der bisherige Name."),
                     QString::fromUtf8("Mit dem Namen „1“ für Skript 8 gilt im AutoMode:\r– "
                                       "„telmaris 1“ startet dann Skript 8 und nicht mehr "
                                       "Skript 1.\r\rDen Namen trotzdem vergeben? Mit "
                                       "„Nein“ bleibt der bisherige Name.")}));
    QCOMPARE(program.dialogs.inputs.size(), 7);
    QCOMPARE(program.dialogs.inputs[0].title + '|' + program.dialogs.inputs[0].prompt + '|' +
                 program.dialogs.inputs[0].proposal,
             QStringLiteral("Telmaris - Skriptnamen ändern|"
                            "Hier können Sie den Namen des Skripts 12 ändern: |"));

    // Nothing is written while the program runs.
    program.clickTab(4);
    QCOMPARE(program.folder.readIni(), atStart);

    // The close: keys already there change in place; the script's key comes first, its
    // trailing blanks dropped, then the settings the file lacks, in the settings store's order.
    typeAtEnd(program.editor(1), QStringLiteral("WÄHLE 1  "));
    QVERIFY(program.window->close());
    QByteArray expected = "[Data]\nComPort=" + QByteArray(WithModem ? "2" : "1") +
                          "\nSkriptName2=Zwei\nSkriptName3=\nSkriptText4=W\xC3\x84HLE 1\n"
                          "ModemReset=&F\nModemInit=V1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1\n"
                          "ModemSpeed=9\nDialPuls=1\nLineLen=1\nUmbruch=1\n";
    const QMap<int, QByteArray> named{{7, "ZWEI"}, {12, "Zentrale: Nacht"}};
    for (int n = 1; n <= 100; ++n)
        if (n == 1 || n > 3)
            expected += "SkriptName" + QByteArray::number(n) + '=' + named.value(n) + '\n';
    expected += "CurrSkript=4\n\n[Ports]\n";
    QCOMPARE(program.folder.readIni().left(expected.size()), expected);
}

void TestMainWindow::hoverHintsGoToTheStatusLine() {
    ProgramFixture program("CurrSkript=1\n");
    QVERIFY(program.open());
    MainWindow &w = *program.window;
    const QString sending =
        QStringLiteral(" Programm an die Telefonanlage schicken bzw. Programmierung abbrechen");
    const QString names = QStringLiteral(" Namensliste der Skripts - Doppelklicken für Editieren");
    const QString editor = QStringLiteral(" Editor für das aktuelle Telefonanlagen-Programm");
    // A control without a hint of its own ("&Optionen", the wrap check box) leaves the line.
    const QList<std::pair<QWidget *, QString>> hints{
        {w.statusBar(), QStringLiteral(" Statuszeile")},
        {program.button("programButton"), sending},
        {program.button("optionsButton"), sending},
        {program.button("helpButton"), QStringLiteral(" Programmanleitung")},
        {program.button("endButton"), QStringLiteral(" Programm beenden")},
        {program.button("infoButton"), QStringLiteral(" Zusatzinfos")},
        {program.editor(0)->viewport(), editor},
        {program.child("scriptSlider"), QStringLiteral(" Schnellauswahl eines Skripts")},
        {program.tabs(),
         QStringLiteral(" Auswahl der verschiedenen Skripts bzw. Zugang zu den Optionen")},
        {nullptr, {}}, // to the options page
        {program.child("umbruchFrame"), editor},
        {program.child<QListWidget>("nameList")->viewport(), names},
        {program.child("umbruchCheck"), names}};
    for (const auto &[widget, hint] : hints) {
        if (!widget) {
            w.selectTab(OptionsTab);
            continue;
        }
        // The tab bar left of its tabs' scroll buttons, the frame in a corner of its own.
        const QPoint at = widget == program.tabs() ? QPoint(5, 5)
                          : widget == program.child("umbruchFrame")
                              ? widget->rect().bottomRight() - QPoint(3, 3)
                              : widget->rect().center();
        QTest::mouseMove(widget, at);
        QCOMPARE(program.statusLine(), hint);
    }
}

// Keys pressed where the focus is, one after the other. Each row starts on the given tab with
// "x" typed at the end of slot 3's text, the focus on the given control ("editor": the editor
// box) and, on the options page, slot 5 selected in the name list. What the user sees: where the
// focus went after each key, the tab and the editor's text, slot 3's text in the file and the
// rename boxes asked for.
void TestMainWindow::keyboardPaths_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("seen");
    const auto keys = [](std::initializer_list<QKeyCombination> combinations) {
        QTestEventList list;
        for (QKeyCombination keys : combinations)
            list.addKeyClick(keys.key(), keys.keyboardModifiers());
        return list;
    };
    const QKeyCombination tab(Qt::Key_Tab);
    // Without a port that opens (on Windows) "&Programmieren" and COM 1's button are locked: the
    // focus passes them by.
    QTest::newRow("Tab leaves the editor")
        << 3 << "editor" << keys({tab})
        << QString(WithModem ? "programButton" : "optionsButton") + " | 3 Zeile Ax | Zeile A |";
    QTest::newRow("Ctrl+Tab") << 3 << "editor" << keys({Qt::CTRL | Qt::Key_Tab})
                              << "editor | 4 Vier | Zeile Ax |";
    QTest::newRow("Ctrl+Shift+Tab")
        << 3 << "editor" << keys({Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab})
        << "editor | 2  | Zeile Ax |";
    QTest::newRow("Ctrl+PgDn") << 3 << "editor" << keys({Qt::CTRL | Qt::Key_PageDown})
                               << "editor | 4 Vier | Zeile Ax |";
    QTest::newRow("Ctrl+PgUp twice, round to the options page")
        << 1 << "editor" << keys({Qt::CTRL | Qt::Key_PageUp, Qt::CTRL | Qt::Key_PageUp})
        << QString(WithModem ? "com1Button" : "com1Device") + " editor | 100  | Zeile Ax |";
    QTest::newRow("Return on a name") << 101 << "nameList" << keys({Qt::Key_Return})
                                      << "nameList | 101 Zeile Ax | Zeile Ax | 5 Fünf";
    QTest::newRow("F2 on a name") << 101 << "nameList" << keys({Qt::Key_F2})
                                  << "nameList | 101 Zeile Ax | Zeile Ax | 5 Fünf";
    QTest::newRow("the options page in reading order")
        << 101 << (WithModem ? "com1Button" : "com1Device")
        << keys({tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab, tab})
        << QString(WithModem ? "com1Device " : "") +
               "com2Device com3Device com4Device rescanButton modemTestButton toneButton "
               "speedSlider lineLenSlider modemResetEdit modemInitEdit runLogButton umbruchCheck "
               "nameList optionsButton" +
               (WithModem ? "" : " endButton") + " | 101 Zeile Ax | Zeile Ax |";
}

void TestMainWindow::keyboardPaths() {
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(QTestEventList, keys);
    QFETCH(QString, seen);
    ProgramFixture program("CurrSkript=3\nSkriptText3=Zeile A\nSkriptText4=Vier\n"
                           "SkriptName5=Fünf\n");
    QVERIFY(program.open());
    MainWindow &w = *program.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    typeAtEnd(program.editor(0), QStringLiteral("x"));
    program.clickTab(tab);
    program.child<QListWidget>("nameList")->setCurrentRow(4);
    (focus == "editor" ? program.editor(0) : program.child(focus))->setFocus();

    QStringList trail;
    for (QTestEvent *key : keys) {
        key->simulate(QApplication::focusWidget());
        QWidget *now = QApplication::focusWidget();
        trail << (now == program.editor(0) ? QStringLiteral("editor") : now->objectName());
    }

    QString asked;
    for (const AskedInput &input : program.dialogs.inputs)
        asked += QString(input.prompt).remove(QRegularExpression("\\D")) + ' ' + input.proposal;
    QCOMPARE((trail.join(' ') + " | " + QString::number(program.shownTab()) + ' ' +
              program.editor(0)->crlfText() + " | " + program.stored("SkriptText3") + " | " + asked)
                 .trimmed(),
             seen);
}

// "&Hilfe" opens the manual in the program folder, the logo the maker's web site, "P&rotokoll
// öffnen" on the options page the run log once a run has made it, or say where the file lies
// when no program takes it; "&Info" shows the info dialog. The toolkit's own texts, as in the
// editor's context menu, are German.
void TestMainWindow::helpInfoAndLogo() {
    ProgramFixture program("CurrSkript=1\n");
    QVERIFY(program.open());
    program.folder.writeFile(QStringLiteral("hilfe.htm"));
    QTest::mouseClick(program.button("helpButton"), Qt::LeftButton);
    QTest::mouseClick(program.child("logo"), Qt::LeftButton);

    const QString log = program.folder.runLogPath();
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);
    QCOMPARE(program.child<QLabel>("runLogPath")->toolTip(), QDir::toNativeSeparators(log));
    QTest::mouseClick(program.button("runLogButton"), Qt::LeftButton);
    QCOMPARE(program.dialogs.texts, QStringList{"Das Protokoll " + QDir::toNativeSeparators(log) +
                                                " gibt es noch nicht: Es entsteht beim ersten "
                                                "Programmieren."});
    program.clickTab(1);
    if (WithModem)
        QVERIFY(program.runToEnd());
    else // without a port no run starts: the log as another copy's run left it
        program.folder.writeFile(QStringLiteral("state/Telmaris/Telmaris.log"), "");
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);
    QTest::mouseClick(program.button("runLogButton"), Qt::LeftButton);
    QCOMPARE(
        program.opener.opened,
        (QList<QUrl>{QUrl::fromLocalFile(program.folder.filePath("hilfe.htm")),
                     QUrl(QStringLiteral("https://www.telmaris.de")), QUrl::fromLocalFile(log)}));
    // Where no program takes them, the user is told where the files lie.
    program.opener.accepts = false;
    QTest::mouseClick(program.button("runLogButton"), Qt::LeftButton);
    QTest::mouseClick(program.button("helpButton"), Qt::LeftButton);
    QCOMPARE(program.dialogs.messages.mid(program.dialogs.messages.size() - 2),
             (QStringList{"[information] Telmaris: Das Protokoll konnte keinem Programm "
                          "übergeben werden. Es liegt hier:\r" +
                              QDir::toNativeSeparators(log),
                          "[information] Telmaris: Die Hilfe-Datei konnte keinem Programm "
                          "übergeben werden. Sie liegt hier:\r" +
                              QDir::toNativeSeparators(program.folder.filePath("hilfe.htm"))}));

    QTest::mouseClick(program.button("infoButton"), Qt::LeftButton);
    QTRY_VERIFY(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget *top) {
        return top->isVisible() && top->inherits("telmaris::InfoDialog");
    }));
    QVERIFY(loadGermanToolkitTexts(*QCoreApplication::instance()));
    const std::unique_ptr<QMenu> menu(program.editor(0)->createStandardContextMenu());
    QCOMPARE(menu->actions().first()->text().remove(u'&').section(u'\t', 0, 0),
             QStringLiteral("Rückgängig"));
}

// The cases with the modem simulator, or with a port that can be opened: not on Windows.
#ifndef Q_OS_WIN
// A visit to the options page, or a device chosen for another port, opens no port that was
// probed already; "Neu suchen" probes them all again. A port chosen there is stored also when
// "Ende" is pressed on the page.
void TestMainWindow::portsAreProbedOnlyAnew() {
    ProgramFixture program("ComPort=1\n", /*secondModem=*/true);
    QVERIFY(program.open());
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);
    auto *com3 = program.child<QRadioButton>("com3Button");
    QVERIFY(!com3->isEnabled());
    QVERIFY(QFile::link(program.modem2->devicePath(),
                        program.folder.filePath(QStringLiteral("no-such-port-3"))));
    program.clickTab(1);
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);
    QVERIFY(!com3->isEnabled());
    auto *com4 = program.child<QComboBox>("com4Device");
    com4->lineEdit()->selectAll();
    QTest::keyClicks(com4->lineEdit(), program.modem1.devicePath());
    QTest::keyClick(com4->lineEdit(), Qt::Key_Return);
    QTRY_VERIFY(program.child("com4Button")->isEnabled());
    QVERIFY(!com3->isEnabled());
    QTest::mouseClick(program.button("rescanButton"), Qt::LeftButton);
    QTRY_VERIFY(com3->isEnabled());
    QTest::mouseClick(com3, Qt::LeftButton);
    QTest::mouseClick(program.button("endButton"), Qt::LeftButton);
    QVERIFY(program.folder.readIni().startsWith("[Data]\nComPort=3\n"));
}

// The ports are probed off the window thread: the window shows at once, "Programmieren" waits
// for the result, and tabs chosen meanwhile leave tab bar, page and buttons in agreement.
void TestMainWindow::theWindowShowsBeforeThePortsAreProbed() {
    ProgramFixture program("SkriptText2=WÄHLE 2\n");
    QSignalSpy startedUp(program.window.get(), &MainWindow::startedUp);
    QCOMPARE(program.window->init(QString()), std::nullopt);
    QVERIFY(program.window->isVisible() && startedUp.isEmpty());
    QVERIFY(!program.button("programButton")->isEnabled());
    program.clickTab(OptionsTab);
    program.clickTab(2);
    QVERIFY(startedUp.wait());
    QCOMPARE(program.tabs()->currentIndex(), 1);
    QCOMPARE(program.child<QSlider>("scriptSlider")->value(), 2);
    QCOMPARE(program.editor(0)->crlfText(), QString::fromUtf8("WÄHLE 2"));
    QVERIFY(program.button("programButton")->isEnabled());
}

void TestMainWindow::autoModeNamesItsSlotInTheTitle() {
    ProgramFixture program("CurrSkript=1\nSkriptName3=Tag&Nacht\nSkriptText3=WÄHLE 5\n"
                           "SkriptName4=&Erde\n");
    QCOMPARE(program.runAutoMode(QStringLiteral("tag&nacht")), 0);
    // Every "&" of a name is shown; none makes a shortcut that competes with "&Ende".
    for (int tab : {2, 3})
        QCOMPARE(QKeySequence::mnemonic(program.tabs()->tabText(tab)), QKeySequence());
    QCOMPARE(program.window->windowTitle(), QStringLiteral("Telmaris (AutoMode 3)"));
    QCOMPARE(program.statusLine(), QStringLiteral(" Programmierung beendet"));
    QVERIFY(program.dialogs.messages.isEmpty()); // no success box to wait for
    QTRY_COMPARE(program.modem1.commands(),
                 QList<QByteArray>({"AT&F", Init, "ATDT5;", "AT&F", "ATH0"}));
}

void TestMainWindow::withADisplayARunWaitsUntilAborted_data() {
    QTest::addColumn<QByteArray>("autoModeSection");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("exitStatus");
    QTest::newRow("the window has no limit")
        << QByteArray("[AutoMode]\nAntwortZeit=1\n") << QString() << 0;
    QTest::newRow("AutoMode's default is no limit") << QByteArray() << QStringLiteral("1") << 1;
}

void TestMainWindow::withADisplayARunWaitsUntilAborted() {
    QFETCH(QByteArray, autoModeSection);
    QFETCH(QString, argument);
    QFETCH(int, exitStatus);
    // ATQ1 makes the modem quiet: it answers nothing from then on.
    ProgramFixture program("CurrSkript=1\nSkriptText1=MODEM ATQ1\n" + autoModeSection);
    bool testDuringRun = true; // "Mo&dem testen" is locked while a script runs
    QObject::connect(&program.modem1.modem(), &modemsim::ModemSimulator::commandReceived,
                     [&](const QByteArray &command) {
                         if (command != "ATQ1")
                             return;
                         testDuringRun = program.button("modemTestButton")->isEnabled();
                         QTimer::singleShot(1500, program.window.get(), [&] {
                             QTest::mouseClick(program.button("programButton"), Qt::LeftButton);
                         });
                     });

    if (argument.isEmpty()) {
        QVERIFY(program.open());
        QVERIFY(program.runToEnd());
    } else {
        QCOMPARE(program.runAutoMode(argument), exitStatus);
    }

    QCOMPARE(program.statusLine(), QStringLiteral(" Programmabbruch durch Anwender!"));
    QCOMPARE(program.modem1.commands(), QList<QByteArray>({"AT&F", Init, "ATQ1", "ATH0"}));
    QVERIFY(!testDuringRun);
    QVERIFY(program.button("modemTestButton")->isEnabled());
}

void TestMainWindow::modemTestShowsAnswersAndVerdict_data() {
    QTest::addColumn<QByteArray>("fault"); // how the modem on COM 1 misbehaves
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("verdict"); // "%1": COM 1's device
    const QString checks = QString::fromUtf8("– Ist das Modem eingeschaltet?\n"
                                             "– Steckt das Kabel fest am Modem und am Computer?\n");
    QTest::newRow("the simulator") << QByteArray()
                                   << QStringLiteral("> AT\nOK\n> ATI\n56000\nOK\n> ATI3\n"
                                                     "Telmaris Modem-Simulator V1.0\nOK")
                                   << QStringLiteral("Das Modem antwortet.");
    QTest::newRow("no identification")
        << QByteArray("I3") << QStringLiteral("> AT\nOK\n> ATI\n56000\nOK\n> ATI3\nERROR")
        << QString::fromUtf8("Das Modem antwortet.\nAuf „ATI3“ kam ERROR. Das ist bei manchen "
                             "Modems normal: Diese Modems kennen die Abfrage nicht.");
    QTest::newRow("numeric answers")
        << QByteArray("numeric")
        << QString::fromUtf8("> AT\n0\n(keine abschließende Antwort innerhalb von 3 Sekunden)\n"
                             "> ATI\n56000\n0\n(keine abschließende Antwort innerhalb von 3 "
                             "Sekunden)\n> ATI3\nTelmaris Modem-Simulator V1.0\n0\n(keine "
                             "abschließende Antwort innerhalb von 3 Sekunden)")
        << QString::fromUtf8("Das Modem hat etwas gesendet, aber weder OK noch ERROR. Bitte "
                             "prüfen:\n– Antwortet das Modem mit Ziffern statt Worten (V0) oder "
                             "schickt es die Befehle als Echo zurück (E1)? Telmaris braucht "
                             "Antworten in Worten; ein Skript mit der Zeile „MODEM ATE0 V1“ "
                             "stellt das Modem so ein.\n– Passt der Modem-Speed? Getestet wurde "
                             "mit 1200 Baud; unleserliche Zeichen sprechen für eine falsche "
                             "Geschwindigkeit.");
    // A silent "AT" ends the test: the other commands would only wait out their time too.
    QTest::newRow("silent modem")
        << QByteArray("silent") << QStringLiteral("> AT\n(keine Antwort innerhalb von 3 Sekunden)")
        << QString::fromUtf8("Das Modem hat nicht geantwortet. Bitte prüfen:\n") + checks +
               QString::fromUtf8("– Ist das Modem an COM 1 (%1) angeschlossen, oder an einer "
                                 "anderen Schnittstelle?\n– Passt der Modem-Speed? Getestet "
                                 "wurde mit 1200 Baud; unleserliche Zeichen sprechen für eine "
                                 "falsche Geschwindigkeit.\n– Hat das Modem seine Antworten "
                                 "abgeschaltet (Q1)? Ein Skript mit der Zeile „MODEM ATQ0 V1“ "
                                 "schaltet sie wieder ein.");
    const QString lost =
        QString::fromUtf8("Die Verbindung zum Modem ist während des Tests abgebrochen. Bitte "
                          "prüfen:\n") +
        checks.chopped(1);
    QTest::newRow("unplugged during the test")
        << QByteArray("drop") << QStringLiteral("> AT\n(die Verbindung ist abgebrochen)") << lost;
}

// "Mo&dem testen" asks the modem on the selected port in a window of its own, which lists
// each command with its answer and ends with the verdict; the port is free again afterwards.
void TestMainWindow::modemTestShowsAnswersAndVerdict() {
    QFETCH(QByteArray, fault);
    QFETCH(QString, answers);
    QFETCH(QString, verdict);
    ProgramFixture program("ComPort=1\n");
    PtyModem &modem = program.modem1;
    if (fault == "silent")
        modem->setSilent(true);
    else if (fault == "numeric")
        modem->setNumeric(true);
    else if (fault == "drop")
        modem->setDropAfter(1);
    else if (!fault.isEmpty())
        modem->setErrorOn(fault);
    QVERIFY(program.open());
    QTest::mouseClick(program.button("optionsButton"), Qt::LeftButton);

    QTest::mouseClick(program.button("modemTestButton"), Qt::LeftButton);
    auto *dialog = program.window->findChild<ModemTestDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString::fromUtf8("Telmaris – Modem testen"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog->isFinished(), 20000);

    QCOMPARE(dialog->answers(), answers);
    QCOMPARE(dialog->verdict(), verdict.replace(QStringLiteral("%1"), modem.devicePath()));
    QList<QByteArray> asked; // what the modem received: the commands the window lists
    for (const QString &line : answers.split(u'\n'))
        if (line.startsWith(QStringLiteral("> ")))
            asked << line.mid(2).toLatin1();
    QCOMPARE(modem.commands(), asked);
    if (fault != "drop") {
        SerialLine other; // the port was given back
        QVERIFY(other.open(modem.devicePath(), 9600, true));
    }
}
#endif

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
