// The search for the manual in the program folder, and what is handed to the desktop.

#include "TempProgramFolder.h"
#include "help/Help.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace telmaris;

namespace {

class RecordingOpener : public DocumentOpener {
public:
    void Open(const QUrl &url) override { opened.append(url); }
    QList<QUrl> opened;
};

class RecordingDialogs : public Dialogs {
public:
    void ShowMessage(MessageIcon icon, const QString &title, const QString &text) override {
        messages.append({icon, title, text});
    }
    std::optional<QString> AskText(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    struct Message {
        MessageIcon icon;
        QString title;
        QString text;
    };
    QList<Message> messages;
};

void WriteFile(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchOrder_data();
    void searchOrder();
    void fileExists();
    void addresses();
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
        WriteFile(folder.filePath(name));
    for (const QString &name : folders)
        QVERIFY(QDir(folder.path()).mkdir(name));

    RecordingOpener opener;
    RecordingDialogs dialogs;
    ShowHelp(folder.path(), dialogs, opener);

    if (opened.isEmpty()) {
        QCOMPARE(opener.opened.size(), 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].icon, MessageIcon::Information);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Telmaris"));
        QCOMPARE(dialogs.messages[0].text,
                 QStringLiteral("Die Online-Hilfe konnte leider nicht gefunden werden ..."));
    } else {
        QCOMPARE(dialogs.messages.size(), 0);
        QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath(opened))});
    }
}

void TestHelp::fileExists() {
    test::TempProgramFolder folder;
    WriteFile(folder.filePath("hilfe.htm"));
    WriteFile(folder.filePath(".versteckt.htm"));
    QVERIFY(FileExists(folder.filePath("hilfe.htm")));
    QVERIFY(!FileExists(folder.filePath(".versteckt.htm")));
    QVERIFY(!FileExists(folder.path()));
    QVERIFY(!FileExists(folder.filePath("fehlt.htm")));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(QStringLiteral("/gibt/es/nicht/\u00fcberhaupt/hilfe.htm")));
}

void TestHelp::addresses() {
    RecordingOpener opener;
    OpenWebSite(opener);
    OpenDocument(opener, QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20(V1.0)"));
    OpenDocument(opener, QStringLiteral("/opt/Tel maris/hilfe.htm"));
    QCOMPARE(opener.opened.size(), 3);
    QCOMPARE(opener.opened[0].toString(), QStringLiteral("https://www.telmaris.de"));
    QCOMPARE(opener.opened[1].toString(QUrl::FullyEncoded),
             QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20(V1.0)"));
    QCOMPARE(opener.opened[2].toLocalFile(), QStringLiteral("/opt/Tel maris/hilfe.htm"));
    QCOMPARE(DocumentUrl(QStringLiteral("C:/Programme/Telmaris/hilfe.htm")).scheme(),
             QStringLiteral("file"));
}

QTEST_GUILESS_MAIN(TestHelp)
#include "tst_help.moc"
