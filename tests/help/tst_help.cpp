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
// installed manual in share/doc/telmaris/ ("docs/" in the table). The table lists paths
// relative to the prefix, separated by blanks; one ending in "/" is a folder.
void TestHelp::searchOrder_data() {
    QTest::addColumn<QString>("paths");
    QTest::addColumn<QString>("opened"); // empty: the not-found message
    const std::tuple<const char *, const char *, const char *> rows[] = {
        {"only index.htm", "bin/index.htm", "bin/index.htm"},
        {"both", "bin/index.htm bin/hilfe.htm", "bin/hilfe.htm"},
        {"neither", "bin/Telmaris.Ini bin/hilfe.html", ""},
        {"folder hilfe.htm, file index.htm", "bin/index.htm bin/hilfe.htm/", "bin/index.htm"},
        {"installed", "bin/ docs/hilfe.htm", "docs/hilfe.htm"},
        {"beside the program first", "bin/index.htm docs/hilfe.htm", "bin/index.htm"},
        {"another program's manual",
         "bin/ share/doc/telmaris-modem-sim/hilfe.htm share/doc/hilfe.htm hilfe.htm", ""}};
    for (const auto &[name, paths, opened] : rows)
        QTest::newRow(name) << QString(paths).replace("docs/", "share/doc/telmaris/")
                            << QString(opened).replace("docs/", "share/doc/telmaris/");
}

void TestHelp::searchOrder() {
    QFETCH(QString, paths);
    QFETCH(QString, opened);
    test::TempProgramFolder prefix;
    for (const QString &path : paths.split(u' ')) {
        if (path.endsWith(u'/'))
            QVERIFY(QDir(prefix.path()).mkpath(path));
        else
            prefix.writeFile(path);
    }

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
