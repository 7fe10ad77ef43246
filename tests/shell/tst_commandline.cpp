// The command line: interactive, trace mode, an unattended run of one slot, or the message
// about an unknown parameter.
#include "shell/CommandLine.h"
#include "shell/ProcessStart.h"

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
    void settingsFolderIsNamedAfterTheProgramNotItsFile();
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

// The fallback settings folder stays where it is when the program file is renamed.
void TestCommandLine::settingsFolderIsNamedAfterTheProgramNotItsFile() {
    const char *const argv[] = {"/opt/umbenannt/anders", "7"};
    QCOMPARE(beginProcess(2, argv), QStringLiteral("7"));
    QCOMPARE(
        QFileInfo(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).fileName(),
        QStringLiteral("Telmaris"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
