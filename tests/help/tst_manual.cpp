// The manual: where the program looks for it, beside itself or in its installed place, and the
// manual as it lies beside the built program: self-contained, quoting every message and status
// text the program can show, word for word.

#include "common/UserTexts.h"
#include "help/Help.h"

#include "RecordingOpener.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

using namespace telmaris;

class TestManual : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void isSelfContained();
    void searchOrder_data();
    void searchOrder();
    void quotesEveryText_data();
    void quotesEveryText();

private:
    QString text_;
    QString prose_; // the text as a reader sees it: entities decoded, white space single
};

void TestManual::initTestCase() {
    QFile file(QStringLiteral(TELMARIS_PROGRAM_DIR "/hilfe.htm"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    text_ = utf8(bytes);
    QVERIFY(!utf8.hasError());
    prose_ = QString(text_)
                 .replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
                 .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                 .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                 .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                 .simplified();
}

void TestManual::isSelfContained() {
    QVERIFY(text_.startsWith(QStringLiteral("<!DOCTYPE html>")));
    QVERIFY(text_.contains(QStringLiteral("lang=\"de\"")));
    QVERIFY(!text_.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    QVERIFY(!text_.contains(QStringLiteral("src=\"http"), Qt::CaseInsensitive));
    QVERIFY(!text_.contains(QStringLiteral("<link"), Qt::CaseInsensitive));
    QVERIFY(text_.contains(QStringLiteral("@media print")));
    // The manual says which program it describes, and each of its own links leads somewhere.
    QVERIFY(prose_.contains(QStringLiteral("Handbuch zu Telmaris %1.%2 · Stand: ")
                                .arg(TELMARIS_VERSION_MAJOR)
                                .arg(TELMARIS_VERSION_MINOR)));
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const auto &match : link.globalMatch(text_))
        QVERIFY2(text_.contains(QStringLiteral("id=\"%1\"").arg(match.captured(1))),
                 qPrintable(match.captured(0)));
}

// The temporary folder stands for an installation prefix: the program lies in bin/, the
// installed manual in share/doc/telmaris/ ("docs/" in the table). The table lists paths
// relative to the prefix, separated by blanks; one ending in "/" is a folder.
void TestManual::searchOrder_data() {
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

void TestManual::searchOrder() {
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
    showHelp(prefix.filePath(QStringLiteral("bin")), dialogs, opener);
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

// Texts built from pieces are checked by their fixed pieces: what is filled in ("%1") and the
// line breaks of a message box split them.
void TestManual::quotesEveryText_data() {
    QTest::addColumn<QString>("piece");
    static const QRegularExpression filledIn(QStringLiteral("%\\d|\r"));
    for (const QString &text : texts::all()) {
        for (const QString &piece : text.split(filledIn, Qt::SkipEmptyParts)) {
            const QString words = piece.simplified();
            if (!words.isEmpty())
                QTest::newRow(qPrintable(words)) << words;
        }
    }
}

void TestManual::quotesEveryText() {
    QFETCH(QString, piece);
    QVERIFY2(prose_.contains(piece), qPrintable(piece));
}

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
