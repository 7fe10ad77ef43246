// The search for the manual beside the program and in its installed place, and what is handed to
// the desktop.

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
    void onlyVisibleFilesCount();
    void pathsAndAddressesReachTheDesktopWhole();
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
    QTest::newRow("only hilfe.htm")
        << QStringList{"bin/hilfe.htm"} << QStringList{} << "bin/hilfe.htm";
    QTest::newRow("neither") << QStringList{"bin/Telmaris.Ini", "bin/hilfe.html"}
                             << QStringList{"bin"} << "";
    QTest::newRow("folder hilfe.htm, file index.htm")
        << QStringList{"bin/index.htm"} << QStringList{"bin/hilfe.htm"} << "bin/index.htm";
    QTest::newRow("folders of both names")
        << QStringList{} << QStringList{"bin/hilfe.htm", "bin/index.htm"} << "";
    QTest::newRow("installed hilfe.htm")
        << QStringList{docs + "hilfe.htm"} << QStringList{"bin"} << docs + "hilfe.htm";
    QTest::newRow("installed index.htm")
        << QStringList{docs + "index.htm"} << QStringList{"bin"} << docs + "index.htm";
    QTest::newRow("beside the program before installed")
        << QStringList{"bin/index.htm", docs + "hilfe.htm"} << QStringList{} << "bin/index.htm";
    QTest::newRow("installed folder hilfe.htm, file index.htm")
        << QStringList{docs + "index.htm"} << QStringList{"bin", docs + "hilfe.htm"}
        << docs + "index.htm";
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

void TestHelp::onlyVisibleFilesCount() {
    test::TempProgramFolder folder;
    folder.writeFile(".versteckt.htm");
    QVERIFY(!FileExists(folder.filePath(".versteckt.htm")));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(QStringLiteral("/gibt/es/nicht/\u00fcberhaupt/hilfe.htm")));
}

void TestHelp::pathsAndAddressesReachTheDesktopWhole() {
    test::RecordingOpener opener;
    OpenDocument(opener, QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20(V1.0)"));
    OpenDocument(opener, QStringLiteral("/opt/Tel maris/hilfe.htm"));
    QCOMPARE(opener.addresses[0],
             QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20(V1.0)"));
    QCOMPARE(opener.opened[1].toLocalFile(), QStringLiteral("/opt/Tel maris/hilfe.htm"));
    QCOMPARE(DocumentUrl(QStringLiteral("C:/Programme/Telmaris/hilfe.htm")).scheme(),
             QStringLiteral("file"));
}

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
