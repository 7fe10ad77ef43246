// The command line: interactive, trace mode, an unattended run of one slot, or the message
// about an unknown parameter; and the options that only print an answer, asked of the built
// program in a program folder of its own where no display can be reached.
#include "TempProgramFolder.h"
#include "shell/CommandLine.h"
#include "shell/NameWarnings.h"
#include "shell/ProcessStart.h"
#include "store/IniFile.h"

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

using namespace telmaris;

namespace {

// Tab captions as start-up sets them: the stored name, or the slot number.
QStringList captions() {
    QStringList captions;
    for (int n = 1; n <= 100; ++n)
        captions << QString::number(n);
    captions[2] = QStringLiteral("5");               // slot 3 named 5
    captions[9] = QStringLiteral("Nachtschaltung");  // slot 10
    captions[10] = QStringLiteral(" Amt frei ");     // slot 11
    captions[19] = QStringLiteral("nachtschaltung"); // slot 20, same name again
    captions[29] = QStringLiteral("\"Tag\"");        // slot 30, quotes are part of the name
    captions[39] = QStringLiteral("Tag");            // slot 40
    return captions;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice();
    void namesThatMisleadAreNamed();
    void settingsFolderIsNamedAfterTheProgramNotItsFile();
    void printedAnswers_data();
    void printedAnswers();
};

void TestCommandLine::choice() {
    using C = CommandLineChoice;
    // "1e400": the leading number is 1; "Tag" in quotes is slot 30's name, quotes included.
    // clang-format off
    const std::tuple<const char *, int, int> rows[] = {
        {"", C::Interactive, 0}, {"   ", C::Interactive, 0}, {"debug", C::Trace, 0},
        {"  DEBUG ", C::Trace, 0}, {"debug 5", C::Unknown, 0}, {"0", C::Unknown, 0},
        {"101", C::Unknown, 0}, {"-3", C::Unknown, 0}, {"1e400", C::AutoMode, 1},
        {" Gibt es nicht ", C::Unknown, 0}, {"7.9", C::AutoMode, 7}, {"100", C::AutoMode, 100},
        {" 1 ", C::AutoMode, 1}, {"12abc", C::AutoMode, 12}, {"NACHTSCHALTUNG", C::AutoMode, 10},
        {"  amt FREI  ", C::AutoMode, 11}, {"5", C::AutoMode, 3}, {"3", C::AutoMode, 3},
        {"\"Tag\"", C::AutoMode, 30}, {"\"Nachtschaltung\"", C::Unknown, 0}};
    // clang-format on
    for (const auto &[text, kind, slot] : rows) {
        const QString argument = QString::fromUtf8(text);
        const CommandLineChoice choice = resolveCommandLine(argument, captions());
        // The message itself is shown by the end-to-end runs; an unknown one names the argument.
        const auto seen = [&](int k, int n, bool named) {
            return QStringLiteral("'%1' %2 %3 %4").arg(argument).arg(k).arg(n).arg(int(named));
        };
        QCOMPARE(seen(choice.kind, choice.slot, choice.message.contains(u'\'' + argument + u'\'')),
                 seen(kind, slot, kind == C::Unknown));
    }
}

// A name given to a slot is compared as the command line compares it; what would mislead an
// AutoMode start is said, one sentence each, and nothing for a harmless name.
void TestCommandLine::namesThatMisleadAreNamed() {
    QStringList names = captions();
    for (int n = 1; n <= 100; ++n)
        if (names[n - 1] == QString::number(n))
            names[n - 1].clear(); // no name
    // clang-format off
    const std::tuple<int, const char *, const char *> rows[] = {
        {50, " DEBUG ", "öffnet immer das Fenster mit dem Debugger"},
        {50, "--list", "sieht auf der Kommandozeile wie eine Option aus"},
        {50, " nachtSCHALTUNG", "Skript 10 heißt schon „Nachtschaltung“; „telmaris nachtSCHALTUNG“ "
                               "startet immer das Skript mit der kleineren Nummer, Skript 10."},
        {5, "Tag", "Skript 40 heißt schon „Tag“; „telmaris Tag“ startet immer das Skript mit der "
                   "kleineren Nummer, Skript 5."},
        {50, "7", "„telmaris 7“ startet dann Skript 50 und nicht mehr Skript 7."},
        {50, "12 Uhr", "Der Name beginnt mit der Zahl 12: Ein Aufruf, der den Namen nicht genau "
                       "trifft, startet Skript 12."},
        {12, "12 Uhr", nullptr}, {40, "Tag", nullptr}, {50, "Büro", nullptr}, {50, "  ", nullptr}};
    // clang-format on
    for (const auto &[n, name, warning] : rows) {
        const QStringList warnings = nameWarnings(n, QString::fromUtf8(name), names);
        QCOMPARE(warnings.size(), warning ? 1 : 0);
        if (warning)
            QVERIFY2(warnings.first().contains(QString::fromUtf8(warning)),
                     qPrintable(warnings.first()));
    }
}

// The fallback settings folder stays where it is when the program file is renamed.
void TestCommandLine::settingsFolderIsNamedAfterTheProgramNotItsFile() {
    const char *const argv[] = {"/opt/umbenannt/anders", "7"};
    QCOMPARE(beginProcess(2, argv), QStringLiteral("7"));
    QCOMPARE(QFileInfo(userSettingsFolder()).fileName(), QStringLiteral("Telmaris"));
}

// Every file below folder with its content: what a start may not change.
QMap<QString, QByteArray> filesBelow(const QString &folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<dir>"));
    }
    return files;
}

void TestCommandLine::printedAnswers_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QByteArray>("settings"); // empty: no settings file
    QTest::addColumn<QString>("output");      // standard output; "..." stands for any lines

    const QByteArray scripts =
        "[Data]\r\nSkriptName1=Tag\r\nSkriptText1=W\xC3\x84HLE 1\r\nSkriptText7=PAUSE 2\r\n"
        "SkriptName12=--help\r\nSkriptName13=\r\nSkriptName100=N\xC3\xA4\x63hte\r\n";
    const QString version = QStringLiteral("telmaris %1.%2.%3\n")
                                .arg(TELMARIS_VERSION_MAJOR)
                                .arg(TELMARIS_VERSION_MINOR)
                                .arg(TELMARIS_VERSION_PATCH);
    const QString usage = QString::fromUtf8(
        "Aufruf: telmaris [Skriptnummer | Skriptname | debug | --help | --version | --list]\n..."
        "  --version  zeigt die Version\n...Rückgabewerte:\n"
        "  0  normales Ende, oder der AutoMode-Lauf ist gelungen\n"
        "  1  der AutoMode-Lauf ist fehlgeschlagen oder wurde abgebrochen\n"
        "  2  unbekannter Startparameter, oder für das Programmfenster fehlt die\n"
        "     grafische Oberfläche\n"
        "  3  keine serielle Schnittstelle ließ sich öffnen\n...");
    QTest::newRow("help") << "--help" << QByteArray() << usage;
    QTest::newRow("version, blanks around") << " --version  " << scripts << version;
    QTest::newRow("list") << "--list" << scripts
                          << QString::fromUtf8("1\tTag\n7\t\n12\t--help\n100\tNächte\n");
    QTest::newRow("list without settings file") << "--list" << QByteArray() << QString();
}

// The answer on standard output, nothing on standard error, exit status 0; no file made or
// changed, the settings file least of all.
void TestCommandLine::printedAnswers() {
    QFETCH(QString, argument);
    QFETCH(QByteArray, settings);
    QFETCH(QString, output);
    test::TempProgramFolder folder;
    // The copy keeps the program's file name ("telmaris.exe" on Windows).
    const QString copy = folder.filePath(QFileInfo(QStringLiteral(TELMARIS_EXE)).fileName());
    QVERIFY(QFile::copy(QStringLiteral(TELMARIS_EXE), copy));
    if (!settings.isEmpty())
        folder.writeIni(settings);
    const QMap<QString, QByteArray> before = filesBelow(folder.path());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(env);
    program.start(copy, {argument});
    QVERIFY(program.waitForFinished(30000));

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
    // In the system's 8-bit encoding; on Windows in text mode, with CR LF line ends.
    QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
#ifdef Q_OS_WIN
    printed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    QStringList pieces = output.split(QStringLiteral("..."));
    for (QString &piece : pieces)
        piece = QRegularExpression::escape(piece);
    const QRegularExpression expected(
        QRegularExpression::anchoredPattern(pieces.join(QStringLiteral(".*"))),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(expected.match(printed).hasMatch(), qPrintable(printed));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(filesBelow(folder.path()), before);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
