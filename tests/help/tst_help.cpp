// The search for the manual beside the program and in its installed place.

#include "RecordingOpener.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "help/Help.h"

#include <QDir>
#include <QTest>

using namespace telmaris;

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchOrder_data();
    void searchOrder();
};

// The temporary folder stands for an installation prefix: the program lies in bin/, the
// installed manual in share/doc/telmaris/. Paths in the table are relative to the prefix.
void TestHelp::searchOrder_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("opened"); // empty: the not-found message
    const QString docs = QStringLiteral("share/doc/telmaris/");
    QTest::newRow("only index.htm")
        << QStringList{"bin/index.htm"} << QStringList{} << "bin/index.htm";
    QTest::newRow("both") << QStringList{"bin/index.htm", "bin/hilfe.htm"} << QStringList{}
                          << "bin/hilfe.htm";
    QTest::newRow("neither") << QStringList{"bin/Telmaris.Ini", "bin/hilfe.html"}
                             << QStringList{"bin"} << "";
    QTest::newRow("folder hilfe.htm, file index.htm")
        << QStringList{"bin/index.htm"} << QStringList{"bin/hilfe.htm"} << "bin/index.htm";
    QTest::newRow("installed hilfe.htm")
        << QStringList{docs + "hilfe.htm"} << QStringList{"bin"} << docs + "hilfe.htm";
    QTest::newRow("beside the program before installed")
        << QStringList{"bin/index.htm", docs + "hilfe.htm"} << QStringList{} << "bin/index.htm";
    QTest::newRow("another program's manual")
        << QStringList{"share/doc/telmaris-modem-sim/hilfe.htm", "share/doc/hilfe.htm", "hilfe.htm"}
        << QStringList{"bin"} << "";
}

void TestHelp::searchOrder() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QString, opened);
    test::TempProgramFolder prefix;
    for (const QString &name : files)
        prefix.writeFile(name);
    for (const QString &name : folders)
        QVERIFY(QDir(prefix.path()).mkpath(name));

    test::RecordingOpener opener;
    test::ScriptedDialogs dialogs;
    ShowHelp(prefix.filePath(QStringLiteral("bin")), dialogs, opener);
    if (opened.isEmpty()) {
        QCOMPARE(opener.opened.size(), 0);
        QCOMPARE(dialogs.messages,
                 QStringList{"[information] Telmaris: Die Online-Hilfe konnte leider nicht "
                             "gefunden werden ..."});
    } else {
        QCOMPARE(dialogs.messages.size(), 0);
        QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(prefix.filePath(opened))});
    }
}

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
