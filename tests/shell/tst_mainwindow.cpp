// The main window as a user meets it: tab switching with its stores and loads, the options
// page and what reaches the settings file at the end, the hover hints, the window during a
// run, trace mode and the ways start-up can end. Every test runs the real window on a
// temporary program folder with the modem simulator as COM 1.
#include "ProgramFixture.h"
#include "editor/ScriptEdit.h"
#include "trace/TraceWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QtTest>

using namespace telmaris;
using namespace telmaris::test;

namespace {

template <class T> T *Child(QWidget *parent, const char *name) {
    T *child = parent->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

QString StatusLine(MainWindow &w) {
    return Child<QLabel>(&w, "StatusDisplay")->text();
}
QPushButton *Button(MainWindow &w, int index) {
    return Child<QPushButton>(&w, QStringLiteral("Command1_%1").arg(index).toLatin1().constData());
}

// Clicks tab n (1..101) with the mouse when it is in view, else selects it like the slider.
void ClickTab(MainWindow &w, int tab) {
    auto *bar = Child<QTabBar>(&w, "TabStrip1");
    const QRect rect = bar->tabRect(tab - 1);
    if (bar->rect().adjusted(0, 0, -60, 0).contains(rect))
        QTest::mouseClick(bar, Qt::LeftButton, {}, rect.center());
    else
        bar->setCurrentIndex(tab - 1);
}

// A check box reacts to clicks on its box and caption, not on the empty rest of its row.
void ClickCheckBox(QCheckBox *box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void DoubleClickEntry(QListWidget *list, int row) {
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void TypeAtEnd(ScriptEdit *edit, const QString &text) {
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, text);
}

const QString ScriptStatus = QStringLiteral(" Bitte Script bearbeiten oder abschicken");
const QString OptionsStatus = QStringLiteral(" Bitte gewünschte Änderungen vornehmen");

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tabSwitchStoresAndLoadsOnlyWhenItMust();
    void optionsReachTheFileOnlyAtTheEnd();
    void portIsTakenWhenTheOptionsPageIsLeft();
    void hoverHintsGoToTheStatusLine();
    void windowDuringARunAndAbort();
    void traceModeListsTheDialogue();
    void autoModeRunsTheNamedSlotAndWritesNothing();
    void unknownParameterEndsWithoutWriting();
    void noUsablePortEndsTheProgram();
    void unstorableTextKeepsTheWindowOpenOnce();
    void helpInfoAndLogo();
};

void TestMainWindow::tabSwitchStoresAndLoadsOnlyWhenItMust() {
    ProgramFixture program("CurrSkript=3\nSkriptName3=Drei\nSkriptText3=Zeile A\\N\\LZeile B\n"
                           "SkriptText7=Sieben\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *bar = Child<QTabBar>(&w, "TabStrip1");
    QCOMPARE(w.windowTitle(), QStringLiteral("Telmaris"));
    QCOMPARE(bar->count(), 101);
    QCOMPARE(bar->tabText(2), QStringLiteral("Drei"));
    QCOMPARE(bar->tabText(6), QStringLiteral("7"));
    QCOMPARE(bar->tabText(100), QStringLiteral("Optionen"));
    QCOMPARE(bar->currentIndex(), 2);
    QCOMPARE(Child<QSlider>(&w, "SkriptSlider")->value(), 3);
    QCOMPARE(w.Edit(0)->crlfText(), QStringLiteral("Zeile A\r\nZeile B"));

    // 3 -> 7 stores slot 3's changed text, then loads slot 7.
    TypeAtEnd(w.Edit(0), QStringLiteral("!"));
    QCOMPARE(program.stored("SkriptText3"), QStringLiteral("Zeile A\\N\\LZeile B"));
    ClickTab(w, 7);
    QCOMPARE(program.stored("SkriptText3"), QStringLiteral("Zeile A\\N\\LZeile B!"));
    QCOMPARE(w.Edit(0)->crlfText(), QStringLiteral("Sieben"));
    QCOMPARE(StatusLine(w), ScriptStatus);
    QCOMPARE(Child<QSlider>(&w, "SkriptSlider")->value(), 7);

    // Clicking the tab shown neither stores nor loads: neither a typed change reaches the
    // file nor does a text changed in the file behind the program's back reach the editor.
    IniFile(program.folder.iniPath())
        .WriteIni(QStringLiteral("SkriptText7"), QStringLiteral("Anders"));
    TypeAtEnd(w.Edit(0), QStringLiteral("?"));
    ClickTab(w, 7);
    QCOMPARE(w.Edit(0)->crlfText(), QStringLiteral("Sieben?"));
    QCOMPARE(program.stored("SkriptText7"), QStringLiteral("Anders"));

    // To the options page (stores), wrap switched on there, back to the same slot: the text
    // is read back into the wrapping box.
    QTest::mouseClick(Button(w, 4), Qt::LeftButton);
    QCOMPARE(program.stored("SkriptText7"), QStringLiteral("Sieben?"));
    QCOMPARE(StatusLine(w), OptionsStatus);
    QVERIFY(!Button(w, 0)->isEnabled());
    QCOMPARE(Child<QSlider>(&w, "SkriptSlider")->value(), 101);
    ClickCheckBox(Child<QCheckBox>(&w, "MitUmbruchChk"));
    IniFile(program.folder.iniPath())
        .WriteIni(QStringLiteral("SkriptText7"), QStringLiteral("Neu\\N\\Lgelesen"));
    Child<QSlider>(&w, "SkriptSlider")->setValue(7);
    QVERIFY(Button(w, 0)->isEnabled());
    QCOMPARE(StatusLine(w), ScriptStatus);
    QVERIFY(w.Edit(1)->isVisible());
    QVERIFY(!w.Edit(0)->isVisible());
    QCOMPARE(w.Edit(1)->crlfText(), QStringLiteral("Neu\r\ngelesen"));
    QVERIFY(w.Edit(1)->hasFocus());

    // Going back and forth without typing writes nothing.
    const QByteArray before = program.folder.readIni();
    ClickTab(w, 3);
    QCOMPARE(w.Edit(1)->crlfText(), QStringLiteral("Zeile A\r\nZeile B!"));
    ClickTab(w, 7);
    QCOMPARE(program.folder.readIni(), before);
}

void TestMainWindow::optionsReachTheFileOnlyAtTheEnd() {
    ProgramFixture program("ComPort=1\nCurrSkript=1\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QByteArray atStart = program.folder.readIni();
    QTest::mouseClick(Button(w, 4), Qt::LeftButton);

    // The reset box loses any number of leading "AT" as they are typed.
    auto *reset = Child<QLineEdit>(&w, "ModemResetEdit");
    reset->clear();
    QTest::keyClicks(reset, QStringLiteral("atAT&F"));
    QCOMPARE(reset->text(), QStringLiteral("&F"));
    auto *init = Child<QLineEdit>(&w, "ModemInitEdit");
    init->clear();
    QTest::keyClicks(init, QStringLiteral("A"));
    QCOMPARE(init->text(), QStringLiteral("A"));
    QTest::keyClicks(init, QStringLiteral("T"));
    QCOMPARE(init->text(), QString());
    QTest::keyClicks(init, QStringLiteral("Z X1 AT"));
    QCOMPARE(init->text(), QStringLiteral("Z X1 AT"));

    auto *speed = Child<QSlider>(&w, "SpeedSlider");
    QCOMPARE(Child<QGroupBox>(&w, "SpeedSliderFrame")->title(),
             QStringLiteral("Modem-Speed: 1200"));
    QTest::keyClick(speed, Qt::Key_End);
    QCOMPARE(Child<QGroupBox>(&w, "SpeedSliderFrame")->title(),
             QStringLiteral("Modem-Speed: 28800"));
    QTest::mouseClick(Child<QRadioButton>(&w, "WahllverfahrenOpt1"), Qt::LeftButton);
    QCOMPARE(Child<QGroupBox>(&w, "LineLenSliderFrame")->title(),
             QStringLiteral("Linienlänge: 65"));
    QTest::keyClick(Child<QSlider>(&w, "LineLenSlider"), Qt::Key_Home);
    QCOMPARE(Child<QGroupBox>(&w, "LineLenSliderFrame")->title(), QStringLiteral("Linienlänge: 1"));
    ClickCheckBox(Child<QCheckBox>(&w, "MitUmbruchChk"));

    // Renaming slot 12 by double-click: the list shows the trimmed name, the tab keeps its
    // caption until the next start.
    auto *names = Child<QListWidget>(&w, "SkriptNameList");
    QCOMPARE(names->item(11)->text(), QStringLiteral("12: (kein)"));
    program.dialogs.answers = {QStringLiteral("  Zentrale: Nacht  ")};
    DoubleClickEntry(names, 11);
    QCOMPARE(program.dialogs.inputs.size(), 1);
    QCOMPARE(program.dialogs.inputs[0].title, QStringLiteral("Telmaris - Skriptnamen ändern"));
    QCOMPARE(program.dialogs.inputs[0].prompt,
             QStringLiteral("Hier können Sie den Namen des Skripts 12 ändern: "));
    QCOMPARE(program.dialogs.inputs[0].proposal, QString());
    QCOMPARE(names->item(11)->text(), QStringLiteral("12: Zentrale: Nacht"));
    QCOMPARE(Child<QTabBar>(&w, "TabStrip1")->tabText(11), QStringLiteral("12"));

    // Cancelling a rename leaves the slot without name.
    DoubleClickEntry(names, 1);
    QCOMPARE(names->item(1)->text(), QStringLiteral("2: (kein)"));

    QCOMPARE(program.folder.readIni(), atStart); // nothing written while the program runs
    QVERIFY(w.close());
    QCOMPARE(program.stored("ModemReset"), QStringLiteral("&F"));
    QCOMPARE(program.stored("ModemInit"), QStringLiteral("Z X1 AT"));
    QCOMPARE(program.stored("ModemSpeed"), QStringLiteral("9"));
    QCOMPARE(program.stored("DialPuls"), QStringLiteral("1"));
    QCOMPARE(program.stored("LineLen"), QStringLiteral("1"));
    QCOMPARE(program.stored("Umbruch"), QStringLiteral("1"));
    QCOMPARE(program.stored("SkriptName12"), QStringLiteral("Zentrale: Nacht"));
    QCOMPARE(program.stored("CurrSkript"), QStringLiteral("1"));
}

void TestMainWindow::portIsTakenWhenTheOptionsPageIsLeft() {
    ProgramFixture program("ComPort=1\nCurrSkript=4\n", /*secondModem=*/true);
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QTest::mouseClick(Button(w, 4), Qt::LeftButton);

    auto *com2 = Child<QRadioButton>(&w, "PortOpt1");
    auto *com3 = Child<QRadioButton>(&w, "PortOpt2");
    QVERIFY(com2->isEnabled());
    QVERIFY(!com3->isEnabled()); // the probe could not open it
    QVERIFY(com2->toolTip().contains(program.modem2().devicePath()));
    QVERIFY(com3->toolTip().contains(QStringLiteral("no-such-port-3")));
    QTest::mouseClick(com3, Qt::LeftButton);
    QVERIFY(!com3->isChecked());

    // Chosen, but the page is still shown: the old port is what the file gets.
    QTest::mouseClick(com2, Qt::LeftButton);
    QCOMPARE(w.startData().ComPort, 1);
    ClickTab(w, 4);
    QCOMPARE(w.startData().ComPort, 2);
    QVERIFY(w.close());
    QCOMPARE(program.stored("ComPort"), QStringLiteral("2"));
    QCOMPARE(program.stored("CurrSkript"), QStringLiteral("4"));
}

void TestMainWindow::hoverHintsGoToTheStatusLine() {
    ProgramFixture program("CurrSkript=1\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto hover = [](QWidget *widget, QPoint at = {}) {
        QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    };

    hover(Button(w, 0));
    QCOMPARE(
        StatusLine(w),
        QStringLiteral(" Programm an die Telefonanlage schicken bzw. Programmierung abbrechen"));
    hover(Button(w, 4)); // "&Optionen" has no hint: the line keeps its text
    QCOMPARE(
        StatusLine(w),
        QStringLiteral(" Programm an die Telefonanlage schicken bzw. Programmierung abbrechen"));
    hover(Button(w, 1));
    QCOMPARE(StatusLine(w), QStringLiteral(" Programmanleitung"));
    hover(Button(w, 2));
    QCOMPARE(StatusLine(w), QStringLiteral(" Programm beenden"));
    hover(Button(w, 3));
    QCOMPARE(StatusLine(w), QStringLiteral(" Zusatzinfos"));
    hover(w.Edit(0)->viewport());
    QCOMPARE(StatusLine(w), QStringLiteral(" Editor für das aktuelle Telefonanlagen-Programm"));
    hover(Child<QSlider>(&w, "SkriptSlider"));
    QCOMPARE(StatusLine(w), QStringLiteral(" Schnellauswahl eines Skripts"));
    hover(Child<QTabBar>(&w, "TabStrip1"), QPoint(5, 5));
    QCOMPARE(StatusLine(w),
             QStringLiteral(" Auswahl der verschiedenen Skripts bzw. Zugang zu den Optionen"));
    hover(w.statusBar());
    QCOMPARE(StatusLine(w), QStringLiteral(" Statuszeile"));

    w.SelectTab(OptionsTab);
    auto *frame = Child<QGroupBox>(&w, "Frame1");
    hover(frame, QPoint(frame->width() - 3, frame->height() - 3));
    QCOMPARE(StatusLine(w), QStringLiteral(" Editor für das aktuelle Telefonanlagen-Programm"));
    hover(Child<QListWidget>(&w, "SkriptNameList")->viewport());
    QCOMPARE(StatusLine(w),
             QStringLiteral(" Namensliste der Skripts - Doppelklicken für Editieren"));
    hover(Child<QCheckBox>(&w, "MitUmbruchChk")); // no hint of its own
    QCOMPARE(StatusLine(w),
             QStringLiteral(" Namensliste der Skripts - Doppelklicken für Editieren"));
}

void TestMainWindow::windowDuringARunAndAbort() {
    ProgramFixture program(
        "CurrSkript=1\nSkriptText1=HINWEIS Halt\\N\\LWÄHLE 123\\N\\LWÄHLE 456\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QByteArray atStart = program.folder.readIni();

    bool sawNotice = false;
    program.dialogs.onMessage = [&](const ShownBox &box) {
        if (box.text != QStringLiteral("Halt"))
            return;
        sawNotice = true;
        QCOMPARE(Button(w, 0)->text(), QStringLiteral("&Abbrechen"));
        QVERIFY(Button(w, 0)->isEnabled());
        QVERIFY(!Button(w, 2)->isEnabled());
        QVERIFY(!Button(w, 4)->isEnabled());
        QVERIFY(Button(w, 1)->isEnabled());
        QVERIFY(!Child<QTabBar>(&w, "TabStrip1")->isEnabled());
        QVERIFY(!Child<QSlider>(&w, "SkriptSlider")->isEnabled());
        QVERIFY(w.Edit(0)->isReadOnly());
        // The close request is refused while the script runs, and nothing is written.
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(program.folder.readIni(), atStart);
        // "&Abbrechen" only asks the run to stop; no second run starts.
        QTest::mouseClick(Button(w, 0), Qt::LeftButton);
    };
    QTest::mouseClick(Button(w, 0), Qt::LeftButton);

    QVERIFY(sawNotice);
    QCOMPARE(program.modem1().commands(),
             QList<QByteArray>({"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1", "ATDT123;", "ATH0"}));
    QCOMPARE(program.dialogs.messages.last().text,
             QStringLiteral("Das Skript wurde wunschgemäß abgebrochen."));
    QCOMPARE(StatusLine(w), QStringLiteral(" Programmabbruch durch Anwender!"));
    QCOMPARE(Button(w, 0)->text(), QStringLiteral("&Programmieren"));
    QVERIFY(Button(w, 2)->isEnabled());
    QVERIFY(Button(w, 4)->isEnabled());
    QVERIFY(Child<QTabBar>(&w, "TabStrip1")->isEnabled());
    QVERIFY(Child<QSlider>(&w, "SkriptSlider")->isEnabled());
    QVERIFY(!w.Edit(0)->isReadOnly());

    QVERIFY(w.close());
    QCOMPARE(program.stored("CurrSkript"), QStringLiteral("1"));
}

void TestMainWindow::traceModeListsTheDialogue() {
    {
        ProgramFixture plain("CurrSkript=1\n");
        QCOMPARE(plain.start(), std::nullopt);
        QCOMPARE(plain.window->traceWindow(), nullptr);
    }
    ProgramFixture program("CurrSkript=2\n");
    QCOMPARE(program.start(QStringLiteral(" DEBUG ")), std::nullopt);
    MainWindow &w = *program.window;
    TraceWindow *trace = w.traceWindow();
    QVERIFY(trace);
    QVERIFY(trace->isVisible());
    QCOMPARE(trace->windowTitle(), QStringLiteral("Debugger"));
    QVERIFY(trace->lines().isEmpty());

    QTest::mouseClick(Button(w, 0), Qt::LeftButton);
    QCOMPARE(program.dialogs.messageTexts(),
             QStringList({QStringLiteral("Fertig! Das Programm wurde komplett abgeschickt.")}));
    const QStringList lines = trace->lines();
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines.first(), TraceSeparator);
    QVERIFY2(lines[1].contains(QStringLiteral("SkriptLine: »AT&F")), qPrintable(lines[1]));

    // "&Ende" closes the trace window, then the main window, and writes the settings.
    QTest::mouseClick(Button(w, 2), Qt::LeftButton);
    QVERIFY(!trace->isVisible());
    QVERIFY(!w.isVisible());
    QCOMPARE(program.stored("CurrSkript"), QStringLiteral("2"));
}

void TestMainWindow::autoModeRunsTheNamedSlotAndWritesNothing() {
    ProgramFixture program("CurrSkript=1\nSkriptName3=Nacht\nSkriptText3=WÄHLE 5\\N\\LAUFLEGEN\n");
    const QByteArray atStart = program.folder.readIni();
    QCOMPARE(program.start(QStringLiteral("nacht")), std::optional<int>(0));
    QCOMPARE(program.window->windowTitle(), QStringLiteral("Telmaris (AutoMode 3)"));
    QCOMPARE(program.modem1().commands(),
             QList<QByteArray>(
                 {"AT&F", "ATV1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1", "ATDT5;", "ATH0", "AT&F"}));
    QVERIFY(program.dialogs.messages.isEmpty());
    QCOMPARE(StatusLine(*program.window), QStringLiteral(" Programmierung beendet"));
    QCOMPARE(program.folder.readIni(), atStart);
}

void TestMainWindow::unknownParameterEndsWithoutWriting() {
    ProgramFixture program("CurrSkript=1\n");
    const QByteArray atStart = program.folder.readIni();
    QCOMPARE(program.start(QStringLiteral("101")), std::optional<int>(2));
    QCOMPARE(program.dialogs.messages.size(), 1);
    QCOMPARE(program.dialogs.messages[0].icon, MessageIcon::Critical);
    QVERIFY(program.dialogs.messages[0].text.contains(QStringLiteral("\r'101' aufgerufen.\r")));
    QVERIFY(program.modem1().commands().isEmpty());
    QCOMPARE(program.folder.readIni(), atStart);
}

void TestMainWindow::noUsablePortEndsTheProgram() {
    TempProgramFolder folder;
    QByteArray ini = "[Data]\nComPort=1\n[Ports]\n";
    for (int n = 1; n <= 4; ++n)
        ini += QStringLiteral("COM%1=%2\n")
                   .arg(n)
                   .arg(folder.filePath(QStringLiteral("absent%1").arg(n)))
                   .toUtf8();
    folder.writeIni(ini);
    ScriptedDialogs dialogs;
    MainWindow w(folder.path(), dialogs);
    QCOMPARE(w.Init(QString()), std::optional<int>(3));
    QCOMPARE(dialogs.messageTexts(),
             QStringList({QStringLiteral(
                 "Es sind keinerlei Com-Ports verfügbar.\rDas Programm bricht daher ab.")}));
    QVERIFY(!w.isVisible());
    QCOMPARE(folder.readIni(), ini);
}

void TestMainWindow::unstorableTextKeepsTheWindowOpenOnce() {
    ProgramFixture program("CurrSkript=1\nSkriptText1=Alt\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    // The settings file turns into a folder: no write can succeed any more.
    QVERIFY(QFile::remove(program.folder.iniPath()));
    QVERIFY(QDir().mkdir(program.folder.iniPath()));
    TypeAtEnd(w.Edit(0), QStringLiteral("Neu"));

    // Leaving the slot keeps the user on it, with the text.
    ClickTab(w, 2);
    QCOMPARE(Child<QTabBar>(&w, "TabStrip1")->currentIndex(), 0);
    QCOMPARE(w.Edit(0)->crlfText(), QStringLiteral("AltNeu"));
    QCOMPARE(StatusLine(w), QStringLiteral(" Skript konnte nicht gespeichert werden!"));
    QVERIFY(program.dialogs.messages.last().text.startsWith(
        QStringLiteral("Das Skript 1 konnte nicht gespeichert werden:")));

    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(program.dialogs.messages.size(), 2);
    QVERIFY(w.close()); // told once, the user insists
    QVERIFY(program.dialogs.messages.last().text.startsWith(
        QStringLiteral("Die Einstellungen konnten nicht gespeichert werden:")));
}

void TestMainWindow::helpInfoAndLogo() {
    ProgramFixture program("CurrSkript=1\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Without a manual in the program folder "&Hilfe" says so; with one it is opened.
    QTest::mouseClick(Button(w, 1), Qt::LeftButton);
    QCOMPARE(program.dialogs.messages.size(), 1);
    QVERIFY(program.opener.opened.isEmpty());
    QFile manual(program.folder.filePath(QStringLiteral("hilfe.htm")));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.write("<html></html>");
    manual.close();
    QTest::mouseClick(Button(w, 1), Qt::LeftButton);
    QCOMPARE(program.opener.opened.size(), 1);
    QCOMPARE(program.opener.opened[0].toLocalFile(), QFileInfo(manual).absoluteFilePath());

    // The logo leads to the maker's web site.
    auto *logo = Child<QLabel>(&w, "Image1");
    QVERIFY(!logo->pixmap().isNull());
    QVERIFY(!logo->toolTip().isEmpty());
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(program.opener.opened.size(), 2);
    QVERIFY(program.opener.opened[1].scheme().startsWith(QStringLiteral("http")));

    QTest::mouseClick(Button(w, 3), Qt::LeftButton);
    QTRY_VERIFY(std::any_of(
        QApplication::topLevelWidgets().cbegin(), QApplication::topLevelWidgets().cend(),
        [](QWidget *top) { return top->isVisible() && top->inherits("telmaris::InfoDialog"); }));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
