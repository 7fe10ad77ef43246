// The command line: interactive, trace mode, an unattended run of one slot, or the message
// about an unknown parameter.
#include "shell/CommandLine.h"

#include <QtTest>

using namespace telmaris;

namespace {

// Tab captions as start-up sets them: the stored name, or the slot number.
QStringList Captions() {
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

QString Message(const QString &argument) {
    return QStringLiteral("Telmaris wurde mit dem unbekannten Startparameter\r'") + argument +
           QStringLiteral("' aufgerufen.\r\rFür den AutoMode von Telmaris sind aber nur die\r"
                          "Skriptnummern von 1 bis 100 zulässig oder die von \r"
                          "Ihnen vergebenen Skriptnamen.\r\rDer AutoMode wird daher "
                          "abgebrochen und das \rProgramm beendet.");
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data();
    void choice();
};

void TestCommandLine::choice_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("slot");
    const auto row = [](const char *name, const QString &argument, int kind, int slot) {
        QTest::newRow(name) << argument << kind << slot;
    };
    using C = CommandLineChoice;
    row("empty", QString(), C::Interactive, 0);
    row("blanks only", QStringLiteral("   "), C::Interactive, 0);
    row("debug", QStringLiteral("debug"), C::Trace, 0);
    row("DEBUG with blanks", QStringLiteral("  DEBUG "), C::Trace, 0);
    row("debug 5", QStringLiteral("debug 5"), C::Unknown, 0);
    row("0", QStringLiteral("0"), C::Unknown, 0);
    row("101", QStringLiteral("101"), C::Unknown, 0);
    row("-3", QStringLiteral("-3"), C::Unknown, 0);
    row("huge", QStringLiteral("1e400"), C::AutoMode, 1); // the leading number is 1
    row("no slot of that name", QStringLiteral(" Gibt es nicht "), C::Unknown, 0);
    row("7.9", QStringLiteral("7.9"), C::AutoMode, 7);
    row("100", QStringLiteral("100"), C::AutoMode, 100);
    row("1 with blanks", QStringLiteral(" 1 "), C::AutoMode, 1);
    row("leading number of a word", QStringLiteral("12abc"), C::AutoMode, 12);
    row("name in other case", QStringLiteral("NACHTSCHALTUNG"), C::AutoMode, 10);
    row("name with blanks inside", QStringLiteral("  amt FREI  "), C::AutoMode, 11);
    row("slot 3 named 5", QStringLiteral("5"), C::AutoMode, 3);
    row("number of an unnamed slot", QStringLiteral("3"), C::AutoMode, 3);
    row("quoted name", QStringLiteral("\"Tag\""), C::AutoMode, 30);
    row("name given in quotes", QStringLiteral("\"Nachtschaltung\""), C::Unknown, 0);
}

void TestCommandLine::choice() {
    QFETCH(QString, argument);
    QFETCH(int, kind);
    QFETCH(int, slot);
    const CommandLineChoice choice = ResolveCommandLine(argument, Captions());
    QCOMPARE(int(choice.kind), kind);
    QCOMPARE(choice.slot, slot);
    QCOMPARE(choice.message, kind == CommandLineChoice::Unknown ? Message(argument) : QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
