// Faults around the settings file while the real window uses it: the program folder turning
// unwritable while the program runs, files that are garbage, empty, huge, hold duplicates or
// cannot be read, and two running programs on one file. No script is lost unless the user,
// told that it could not be stored, insists on closing.
#include "ProgramFixture.h"
#include "store/IniText.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <sys/stat.h>

using namespace telmaris;
using namespace telmaris::test;

class TestFaultSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void folderTurnsUnwritableWhileRunning();
    void aSignalRescuesWhatCannotBeStored();
    void badSettingsFiles_data();
    void badSettingsFiles();
    void twoProgramsCloseInTurn();
    void filesFromWindows_data();
    void filesFromWindows();
    void unreadableFileIsReportedAndKept_data();
    void unreadableFileIsReportedAndKept();
};

void TestFaultSettings::folderTurnsUnwritableWhileRunning() {
    ProgramFixture program("CurrSkript=1\nSkriptName1=Tag\nSkriptText1=Alt\nSkriptText9=Neun\n"
                           "; von Hand\n");
    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    const QString folder = program.folder.path();
    const QString moved = folder + QStringLiteral(".weg");
    const QString question = QString::fromUtf8("Das Skript 1 „Tag“ konnte nicht in %1 gespeichert "
                                               "werden:\r")
                                 .arg(program.folder.iniPath());
    const QByteArray before = program.folder.readIni();

    // The program folder is taken away and a plain file stands in its place: no temporary
    // file can be made there, whoever the user is.
    QVERIFY(QDir().rename(folder, moved));
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    typeAtEnd(program.editor(0), QStringLiteral("Neu"));
    program.clickTab(2);
    QCOMPARE(program.shownTab(), 1);
    QCOMPARE(program.statusLine(), QStringLiteral(" Skript konnte nicht gespeichert werden!"));
    QVERIFY(program.dialogs.texts.value(0).startsWith(
        QStringLiteral("Das Skript 1 konnte nicht gespeichert werden:\r")));

    // Each close asks whether to lose the text, naming the script, the file and the reason;
    // "Nein" keeps the window with the text, however often.
    QVERIFY(!w.close());
    QVERIFY(!w.close());
    QCOMPARE(program.editor(0)->crlfText(), QStringLiteral("AltNeu"));
    QCOMPARE(program.dialogs.messages.size(), 3);
    for (const QString &asked : program.dialogs.messages.mid(1))
        QVERIFY2(asked.startsWith("[question] Telmaris: " + question) &&
                     asked.endsWith(QString::fromUtf8("Ohne Speichern beenden? Der geänderte Text "
                                                      "geht dann verloren.")),
                 qPrintable(asked));

    // The folder comes back: the close stores the text, and the rest of the file is as it was.
    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().rename(moved, folder));
    QVERIFY(w.close());
    const QByteArray after = program.folder.readIni();
    QVERIFY(after.startsWith(QByteArray(before.left(before.indexOf("\n\n")))
                                 .replace("SkriptText1=Alt\n", "SkriptText1=AltNeu\n")));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Telmaris.Ini")});
}

// Ended by a signal, nobody can answer: a script that cannot be stored goes into a file of its
// own beside the settings file, for its owner only.
void TestFaultSettings::aSignalRescuesWhatCannotBeStored() {
    ProgramFixture program("CurrSkript=4\nSkriptText4=Codes 1234\n");
    QCOMPARE(program.start(), std::nullopt);
    const QString ini = program.folder.iniPath();
    QVERIFY(QDir().rename(ini, ini + QStringLiteral(".weg")));
    QVERIFY(QDir().mkdir(ini)); // a folder where the file belongs cannot be written
    typeAtEnd(program.editor(0), QStringLiteral(" 5678"));
    program.window->stopForSignal(QStringLiteral("SIGTERM"));
    QVERIFY(!program.window->isVisible());
    const QStringList rescued =
        QDir(program.folder.path()).entryList({QStringLiteral("Telmaris-Skript4-*.txt")});
    QCOMPARE(rescued.size(), 1);
    QFile file(program.folder.filePath(rescued.first()));
    QCOMPARE(file.permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Codes 1234 5678"));
}

void TestFaultSettings::badSettingsFiles_data() {
    QTest::addColumn<QByteArray>("before");      // bytes ahead of the fixture's file
    QTest::addColumn<QByteArray>("dataSection"); // the fixture's [Data] lines
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("keepsBefore"); // the bytes ahead hold none of the keys written

    QRandomGenerator random(1234);
    QByteArray garbage;
    for (int i = 0; i < 65536; ++i)
        garbage += static_cast<char>(random.bounded(256));
    QTest::newRow("binary garbage") << garbage << QByteArray("CurrSkript=3\nSkriptText3=Drei\n")
                                    << 3 << QStringLiteral("Drei") << true;
    QTest::newRow("empty") << QByteArray() << QByteArray() << 1 << QString() << true;

    QByteArray huge;
    for (int n = 1; n <= 100; ++n)
        huge += "SkriptText" + QByteArray::number(n) + "=" +
                QByteArray(100000, static_cast<char>('a' + n % 26)) + "\\N\\LEnde " +
                QByteArray::number(n) + "\n";
    QTest::newRow("huge (10 MB)") << QByteArray() << "CurrSkript=100\n" + huge << 100
                                  << QString(100000, QChar(u'a' + 100 % 26)) +
                                         QStringLiteral("\r\nEnde 100")
                                  << true;
    QTest::newRow("duplicate sections and keys")
        << QByteArray("[data]\nComPort=1\nSkriptText2=Erste\nCurrSkript=2\n")
        << QByteArray("currskript=5\nSKRIPTTEXT2=Zweite\nSkriptText2 = Dritte\n") << 2
        << QStringLiteral("Erste") << false;
}

// The window starts on the file as it is, shows what the first of duplicates says, and at the
// end writes its settings back without losing anything the file held.
void TestFaultSettings::badSettingsFiles() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, dataSection);
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(bool, keepsBefore);
    ProgramFixture program(dataSection);
    QByteArray file = program.folder.readIni();
    if (dataSection.isEmpty())
        file = file.mid(file.indexOf("[Ports]")); // nothing but the ports
    program.folder.writeIni(before + "\n" + file);
    const IniText original = IniText::fromBytes(program.folder.readIni());

    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QVERIFY(w.isVisible());
    // A file with nothing but the ports opens on the options page, to choose one.
    QCOMPARE(program.shownTab(), dataSection.isEmpty() ? OptionsTab : tab);
    QCOMPARE(program.editor(0)->crlfText(), text);
    QCOMPARE(program.child<QGroupBox>("lineLenFrame")->title(),
             QStringLiteral("Linienlänge: %1").arg(StartData().lineLen));
    QCOMPARE(program.child<QLineEdit>("modemInitEdit")->text(), StartData().modemInit);

    typeAtEnd(program.editor(0), QStringLiteral("!"));
    QVERIFY(w.close());
    const IniText after = IniText::fromBytes(program.folder.readIni());
    const QString key = QStringLiteral("SkriptText%1").arg(tab);
    QCOMPARE(decodeIniText(after.value(DataSection, key)), text + u'!');
    for (int n = 1; n <= 100; ++n) {
        const QString other = QStringLiteral("SkriptText%1").arg(n);
        if (n != tab)
            QCOMPARE(after.value(DataSection, other), original.value(DataSection, other));
    }
    // The garbage ahead of the settings is still there, character for character.
    if (keepsBefore)
        QVERIFY(after.toText().startsWith(IniText::fromBytes(before).toText()));
}

// Two programs on one folder, each started before the other's changes and closed in turn:
// every change survives the other's close, script texts and names alike. A value replaced by
// its default at start-up counts as changed.
void TestFaultSettings::twoProgramsCloseInTurn() {
    ProgramFixture program(
        "CurrSkript=1\nLineLen=500\nSkriptText1=Eins\nSkriptText2=Zwei\nSkriptName6=Sechs\n");
    const auto start = [&](QProcess &copy, const QStringList &steps) {
        copy.start(QStringLiteral(WINDOW_COPY_CHILD), QStringList{program.folder.path()} + steps);
        while (!copy.readAllStandardOutput().contains("ready\n"))
            QVERIFY2(copy.waitForReadyRead(60000), qPrintable(copy.readAllStandardError()));
    };
    const auto close = [](QProcess &copy) {
        copy.write("\n");
        QVERIFY(copy.waitForFinished(60000));
        QCOMPARE(copy.exitCode(), 0);
    };
    // A names slot 5 and changes slot 1's text, which its close stores. B stores slot 2's text
    // when it leaves the slot for the options page, renames slot 6 and changes slot 1 too.
    QProcess a;
    QProcess b;
    start(a, {"name:5:Von A", "tab:1", "type: von A"});
    start(b, {"tab:2", "type: von B", "name:6:Von B", "tab:1", "type: von B"});
    QCOMPARE(program.stored(QStringLiteral("SkriptText2")), QStringLiteral("Zwei von B"));
    close(a);
    QCOMPARE(a.readAllStandardOutput(), QByteArray()); // no box at all
    // B finds slot 1 changed by A, is asked, and keeps A's text: its own goes into a file of its
    // own, which the box names.
    close(b);
    const QStringList rescued =
        QDir(program.folder.path()).entryList({QStringLiteral("Telmaris-Skript1-*.txt")});
    QCOMPARE(rescued.size(), 1);
    QFile rescue(program.folder.filePath(rescued.first()));
    QVERIFY(rescue.open(QIODevice::ReadOnly));
    QCOMPARE(rescue.readAll(), QByteArray("Eins von B"));
    const QStringList boxes = QString::fromUtf8(b.readAllStandardOutput()).split(u'\n');
    QVERIFY2(boxes.size() == 3 &&
                 boxes[0].startsWith(QString::fromUtf8("[question] Telmaris: Das Skript 1 wurde "
                                                       "inzwischen in ")) &&
                 boxes[1].contains(rescue.fileName()),
             qPrintable(boxes.join(u'\n')));

    QCOMPARE(program.stored(QStringLiteral("SkriptText1")), QStringLiteral("Eins von A"));
    QCOMPARE(program.stored(QStringLiteral("SkriptText2")), QStringLiteral("Zwei von B"));
    QCOMPARE(program.stored(QStringLiteral("SkriptName5")), QStringLiteral("Von A"));
    QCOMPARE(program.stored(QStringLiteral("SkriptName6")), QStringLiteral("Von B"));
    QCOMPARE(program.stored(QStringLiteral("CurrSkript")), QStringLiteral("1"));
    QCOMPARE(program.stored(QStringLiteral("LineLen")), QStringLiteral("65"));
}

// Files from Windows, under their own name and line end, with lines in Windows-1252 among UTF-8
// ones: names and scripts show their umlauts, and after the end the lines the program did not
// change keep their bytes; the one it changed is UTF-8.
void TestFaultSettings::filesFromWindows_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("head");  // bytes ahead of the section [Data]
    QTest::addColumn<bool>("windows1252"); // the code page of the section's lines
    QTest::addColumn<QByteArray>("lineEnd");
    const QByteArray comment = "; Gr\xFC\xDF Gott\n";
    QTest::newRow("UTF-8 with one Windows-1252 comment, LF")
        << "Telmaris.Ini" << comment << false << QByteArray("\n");
    QTest::newRow("byte order mark and Windows-1252, CR")
        << "telmaris.ini"
        << "\xEF\xBB\xBF" + comment << true << QByteArray("\r");
    QTest::newRow("Windows-1252, CR LF")
        << "TELMARIS.INI" << QByteArray() << true << QByteArray("\r\n");
}

void TestFaultSettings::filesFromWindows() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, head);
    QFETCH(bool, windows1252);
    QFETCH(QByteArray, lineEnd);
    const QStringList untouched{
        QStringLiteral("SkriptName1=Nächte"), QStringLiteral("SkriptName2=Über"),
        QStringLiteral("SkriptText2=WÄHLE 2"), QStringLiteral("; von Österreich")};
    QByteArray section = "CurrSkript=1\nSkriptText1=W\xC3\x84HLE 1\n";
    for (const QString &line : untouched)
        section += (windows1252 ? line.toLatin1() : line.toUtf8()) + '\n';
    ProgramFixture program(
        section.replace("\xC3\x84HLE 1", windows1252 ? "\xC4HLE 1" : "\xC3\x84HLE 1"));
    const QByteArray original = QByteArray(head + program.folder.readIni()).replace("\n", lineEnd);
    QVERIFY(QFile::remove(program.folder.iniPath()));
    program.folder.writeFile(fileName, original);

    QCOMPARE(program.start(), std::nullopt);
    MainWindow &w = *program.window;
    QCOMPARE(program.tabs()->tabText(0), QStringLiteral("Nächte"));
    QCOMPARE(program.tabs()->tabText(1), QStringLiteral("Über"));
    QCOMPARE(program.editor(0)->crlfText(), QStringLiteral("WÄHLE 1"));
    typeAtEnd(program.editor(0), QStringLiteral("0"));
    QVERIFY(w.close());

    QCOMPARE(QDir(program.folder.path()).entryList(QDir::Files), QStringList{fileName});
    const QByteArray after = program.folder.readFile(fileName);
    QVERIFY(after.startsWith(QByteArray(head).replace("\n", lineEnd)));
    for (const QString &line : untouched)
        QVERIFY2(after.contains((windows1252 ? line.toLatin1() : line.toUtf8()) + lineEnd),
                 qPrintable(line));
    QVERIFY(after.contains("SkriptText1=W\xC3\x84HLE 10" + lineEnd));
    // Lines the program added end like the file's own.
    QCOMPARE(after.count(lineEnd), after.count('\n') + after.count('\r') - after.count("\r\n"));
    QVERIFY(after.contains("CurrSkript=1" + lineEnd + "SkriptText1="));
    QVERIFY(after.contains("ModemReset=&F" + lineEnd));
    const IniText reread = IniText::fromBytes(after);
    QCOMPARE(reread.value(DataSection, QStringLiteral("SkriptName2")), QStringLiteral("Über"));
    QCOMPARE(reread.value(DataSection, QStringLiteral("SkriptText2")), QStringLiteral("WÄHLE 2"));
}

// A settings file that is there but cannot be read, even by the superuser: the user is told
// first and the program goes on with its defaults. The user puts the file right while the
// window is open; the close writes nothing over it and says so, once.
void TestFaultSettings::unreadableFileIsReportedAndKept_data() {
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << false << QStringLiteral("ist ein Ordner.");
    QTest::newRow("a named pipe, not waited for")
        << true << QStringLiteral("ist keine gewöhnliche Datei.");
}

void TestFaultSettings::unreadableFileIsReportedAndKept() {
    QFETCH(bool, pipe);
    QFETCH(QString, reason);
    TempProgramFolder folder;
    const QString path = folder.iniPath();
    if (pipe)
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0666), 0);
    else
        QVERIFY(QDir().mkdir(path));
    ScriptedDialogs dialogs;
    MainWindow w(folder.path(), dialogs);
    // Without the file's ports the start may also end for want of a serial port; the close
    // is the same either way.
    w.init(QString());
    QVERIFY(!dialogs.messages.isEmpty());
    QCOMPARE(dialogs.messages[0],
             "[critical] Telmaris: Die Einstellungsdatei konnte nicht gelesen werden:\r" + path +
                 '\r' + path + u' ' + reason);

    QVERIFY(pipe ? QFile::remove(path) : QDir().rmdir(path));
    const QByteArray repaired = "[Data]\nCurrSkript=7\nSkriptName7=Sieben\nSkriptText7=WÄHLE 7\n";
    folder.writeIni(repaired);
    const int before = dialogs.messages.size();
    QVERIFY(w.close());
    QCOMPARE(folder.readIni(), repaired);
    QCOMPARE(dialogs.messages.mid(before),
             QStringList{"[critical] Telmaris: Die Einstellungen und Skriptnamen wurden nicht "
                         "gespeichert: Die Einstellungsdatei konnte beim Programmstart nicht "
                         "gelesen werden und bleibt daher, wie sie ist."});
}

QTEST_MAIN(TestFaultSettings)
#include "tst_fault_settings.moc"
