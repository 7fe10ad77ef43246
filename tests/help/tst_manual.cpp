// The manual: where the program looks for it, beside itself or in its installed place, and the
// manual as it lies beside the built program: self-contained, quoting every message and status
// text the program can show, word for word, with the pictures it names beside it and command
// lines that name what an installation puts in place.

#include "common/UserTexts.h"
#include "help/Help.h"
#include "shell/MainWindow.h"

#include "PtyModem.h"
#include "RecordingOpener.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
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
    void picturesAreTheWindowsSize();
    void commandLinesNameInstalledPaths();

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
    for (const char *outside : {"<script", "src=\"http", "<link"})
        QVERIFY2(!text_.contains(QLatin1String(outside), Qt::CaseInsensitive), outside);
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
        // The message says where the manual was looked for, in that order, and what helps.
        QCOMPARE(opener.opened.size(), 0);
        QCOMPARE(dialogs.messages,
                 QStringList{"[information] Telmaris: Die Online-Hilfe konnte leider nicht "
                             "gefunden werden ...\rGesucht wurden hilfe.htm und index.htm in " +
                             prefix.filePath(QStringLiteral("bin")) + " und in " +
                             prefix.filePath(QStringLiteral("share/doc/telmaris")) +
                             ". Abhilfe: „sudo apt-get install --reinstall telmaris“; bei "
                             "einer Kopie ohne Installation gehören hilfe.htm und der Ordner "
                             "bilder neben das Programm."});
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

// Every picture lies beside the manual; the window's pictures have the size the window takes
// when it is shown, as the picture program renders it, and the size the manual reserves for
// them: started as in the pictures, with the modem on COM 1 and no device behind COM 2 to 4,
// on the options page, which explains why below the ports. A control added to the window or taken
// from it changes that size by a line or more; a few pixels are left to the fonts, which differ
// between releases.
void TestManual::picturesAreTheWindowsSize() {
    test::TempProgramFolder folder;
    test::PtyModem modem;
    folder.writeIni("[Data]\nComPort=1\n[Ports]\nCOM1=" + modem.devicePath().toUtf8() +
                    "\nCOM2=" + folder.filePath("ttyS1").toUtf8() +
                    "\nCOM3=" + folder.filePath("ttyS2").toUtf8() +
                    "\nCOM4=" + folder.filePath("ttyS3").toUtf8() + '\n');
    test::ScriptedDialogs dialogs;
    MainWindow shown(folder.path(), dialogs);
    QSignalSpy startedUp(&shown, &MainWindow::startedUp);
    QCOMPARE(shown.init(QString()), std::nullopt);
    QVERIFY(startedUp.wait() && QTest::qWaitForWindowExposed(&shown));
    shown.selectTab(101); // the window takes the page's room soon after
    const auto fits = [&shown](QSize picture) {
        return qAbs(picture.width() - shown.width()) <= 8 &&
               qAbs(picture.height() - shown.height()) <= 8;
    };
    static const QRegularExpression image(
        QStringLiteral("<img src=\"([^\"]+)\" width=\"(\\d+)\" height=\"(\\d+)\""));
    int pictures = 0;
    for (const auto &match : image.globalMatch(text_)) {
        const QString path = QStringLiteral(TELMARIS_PROGRAM_DIR "/") + match.captured(1);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        if (!path.endsWith(QStringLiteral(".png")))
            continue;
        ++pictures;
        const QSize picture = QImageReader(path).size();
        QTRY_VERIFY2(fits(picture), qPrintable(QStringLiteral("%1: %2x%3, the window %4x%5")
                                                   .arg(path)
                                                   .arg(picture.width())
                                                   .arg(picture.height())
                                                   .arg(shown.width())
                                                   .arg(shown.height())));
        QCOMPARE(QSize(match.captured(2).toInt(), match.captured(3).toInt()), picture);
    }
    QVERIFY(pictures > 0);
    QCOMPARE(text_.count(QStringLiteral("<img ")), text_.count(QStringLiteral("<figure>")));
}

// The build is installed into a temporary prefix that stands for /usr: every path under /usr,
// every path relative to the program and every program a command line of the manual starts
// is there.
void TestManual::commandLinesNameInstalledPaths() {
    test::TempProgramFolder prefix;
    QProcess install;
    install.start(QStringLiteral(TELMARIS_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(TELMARIS_PROGRAM_DIR),
                   QStringLiteral("--prefix"), prefix.filePath(QStringLiteral("usr"))});
    QVERIFY(install.waitForFinished(60000));
    QCOMPARE(install.exitCode(), 0);

    static const QRegularExpression shown(QStringLiteral("<(pre|code)>(.*?)</\\1>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression path(
        QStringLiteral("(?:^|[\\s\"=])((?:/usr|\\.\\./share)/[^\\s\"<,;)]*)"));
    static const QRegularExpression program(QStringLiteral("^(?:sudo )?(telmaris[a-z-]*)(?: |$)"),
                                            QRegularExpression::MultilineOption);
    int checked = 0;
    for (const auto &block : shown.globalMatch(text_)) {
        const QString command = block.captured(2).remove(tag).replace(QStringLiteral("&amp;"), "&");
        QVERIFY2(!command.contains(QStringLiteral("/opt/")), qPrintable(command));
        for (const auto &match : path.globalMatch(command)) {
            QString installed = match.captured(1);
            installed.replace(QRegularExpression(QStringLiteral("^\\.\\.")),
                              QStringLiteral("/usr"));
            QVERIFY2(QFileInfo::exists(prefix.path() + installed), qPrintable(installed));
            ++checked;
        }
        for (const auto &match : program.globalMatch(command)) {
            const QString installed = "/usr/bin/" + match.captured(1);
            QVERIFY2(QFileInfo(prefix.path() + installed).isExecutable(), qPrintable(installed));
            ++checked;
        }
    }
    QVERIFY(checked > 10);
}

QTEST_MAIN(TestManual)
#include "tst_manual.moc"
