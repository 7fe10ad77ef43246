// The search for the manual in the program folder, and what is handed to the desktop.

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

void TestHelp::searchOrder_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("opened"); // empty: the not-found message
    QTest::newRow("only index.htm") << QStringList{"index.htm"} << QStringList{} << "index.htm";
    QTest::newRow("both") << QStringList{"index.htm", "hilfe.htm"} << QStringList{} << "hilfe.htm";
    QTest::newRow("only hilfe.htm") << QStringList{"hilfe.htm"} << QStringList{} << "hilfe.htm";
    QTest::newRow("neither") << QStringList{"Telmaris.Ini", "hilfe.html"} << QStringList{} << "";
    QTest::newRow("folder hilfe.htm, file index.htm")
        << QStringList{"index.htm"} << QStringList{"hilfe.htm"} << "index.htm";
    QTest::newRow("folders of both names")
        << QStringList{} << QStringList{"hilfe.htm", "index.htm"} << "";
}

void TestHelp::searchOrder() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QString, opened);
    test::TempProgramFolder folder;
    for (const QString &name : files)
        folder.writeFile(name);
    for (const QString &name : folders)
        QVERIFY(QDir(folder.path()).mkdir(name));

    test::RecordingOpener opener;
    test::ScriptedDialogs dialogs;
    ShowHelp(folder.path(), dialogs, opener);
    if (opened.isEmpty()) {
        QCOMPARE(opener.opened.size(), 0);
        QCOMPARE(dialogs.messages,
                 QStringList{"[information] Telmaris: Die Online-Hilfe konnte leider nicht "
                             "gefunden werden ..."});
    } else {
        QCOMPARE(dialogs.messages.size(), 0);
        QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath(opened))});
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
