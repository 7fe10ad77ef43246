// Faults around the settings file while the real window uses it: the program folder turning
// unwritable while the program runs, files that cannot be read, and two running programs on
// one file. No script is lost unless the user, told that it could not be stored, insists on
// closing.
#include "ProgramFixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QtTest>

#include <sys/stat.h>

using namespace telmaris;
using namespace telmaris::test;

class TestFaultSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void folderTurnsUnwritableWhileRunning();
    void aSignalRescuesWhatCannotBeStored();
    void twoProgramsCloseInTurn();
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

// Two programs on one folder, each started before the other's changes and closed in turn:
// every change survives the other's close, script texts and names alike. A value replaced by
// its default at start-up counts as changed.
void TestFaultSettings::twoProgramsCloseInTurn() {
    ProgramFixture program(
        "CurrSkript=1\nLineLen=500\nSkriptText1=Eins\nSkriptText2=Zwei\nSkriptName6=Sechs\n");
    MainWindow &a = *program.window;
    ScriptedDialogs dialogsB;
    MainWindow b(program.folder.path(), dialogsB);
    // Renames a slot with the F2 key on the options page; types at the end of a slot's text.
    const auto name = [](MainWindow &w, ScriptedDialogs &dialogs, int slot, const QString &text) {
        w.selectTab(OptionsTab);
        auto *names = w.findChild<QListWidget *>(QStringLiteral("nameList"));
        names->setCurrentRow(slot - 1);
        dialogs.answers.append(text);
        QTest::keyClick(names, Qt::Key_F2);
    };
    const auto type = [](MainWindow &w, int slot, const QString &text) {
        w.selectTab(slot);
        typeAtEnd(w.findChild<ScriptEdit *>(QStringLiteral("scriptEdit")), text);
    };
    // A names slot 5 and changes slot 1's text, which its close stores. B stores slot 2's text
    // when it leaves the slot for the options page, renames slot 6 and changes slot 1 too.
    QCOMPARE(program.start(), std::nullopt);
    name(a, program.dialogs, 5, QStringLiteral("Von A"));
    type(a, 1, QStringLiteral(" von A"));
    bool bStarted = false;
    connect(&b, &MainWindow::startedUp, [&bStarted] { bStarted = true; });
    QVERIFY(!b.init(QString()) && QTest::qWaitFor([&bStarted] { return bStarted; }, 60000));
    type(b, 2, QStringLiteral(" von B"));
    name(b, dialogsB, 6, QStringLiteral("Von B"));
    type(b, 1, QStringLiteral(" von B"));
    QCOMPARE(program.stored(QStringLiteral("SkriptText2")), QStringLiteral("Zwei von B"));
    QVERIFY(a.close());
    QCOMPARE(program.dialogs.messages, QStringList()); // no box at all
    // B finds slot 1 changed by A, is asked, and keeps A's text: its own goes into a file of its
    // own, which the box names.
    QVERIFY(b.close());
    const QStringList rescued =
        QDir(program.folder.path()).entryList({QStringLiteral("Telmaris-Skript1-*.txt")});
    QCOMPARE(rescued.size(), 1);
    QFile rescue(program.folder.filePath(rescued.first()));
    QVERIFY(rescue.open(QIODevice::ReadOnly));
    QCOMPARE(rescue.readAll(), QByteArray("Eins von B"));
    QVERIFY2(dialogsB.messages.size() == 2 &&
                 dialogsB.messages[0].startsWith(
                     QString::fromUtf8("[question] Telmaris: Das Skript 1 wurde inzwischen in ")) &&
                 dialogsB.messages[1].contains(rescue.fileName()),
             qPrintable(dialogsB.messages.join(u'\n')));

    QCOMPARE(program.stored(QStringLiteral("SkriptText1")), QStringLiteral("Eins von A"));
    QCOMPARE(program.stored(QStringLiteral("SkriptText2")), QStringLiteral("Zwei von B"));
    QCOMPARE(program.stored(QStringLiteral("SkriptName5")), QStringLiteral("Von A"));
    QCOMPARE(program.stored(QStringLiteral("SkriptName6")), QStringLiteral("Von B"));
    QCOMPARE(program.stored(QStringLiteral("CurrSkript")), QStringLiteral("1"));
    QCOMPARE(program.stored(QStringLiteral("LineLen")), QStringLiteral("65"));
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
