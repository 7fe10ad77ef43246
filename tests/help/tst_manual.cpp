// The manual: where the program looks for it, beside itself or in its installed place, and the
// manual as it lies beside the built program: self-contained, quoting every message and status
// text the program can show, word for word, and only texts the program shows; naming every
// access key as the windows have it, one term for each thing, with the pictures it names beside
// it and command lines that name what an installation puts in place.

#include "common/UserTexts.h"
#include "help/Help.h"
#include "info/InfoDialog.h"
#include "shell/MainWindow.h"
#include "trace/TraceWindow.h"

#ifndef Q_OS_WIN
#include "PtyModem.h"
#endif
#include "RecordingOpener.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace telmaris;

namespace {

// The top-level „…“ quotes of a piece of the manual's prose; quotes inside quotes stay in theirs.
QStringList quotesIn(const QString &prose) {
    QStringList quotes;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < prose.size(); ++i) {
        if (prose.at(i) == u'„' && depth++ == 0)
            start = i + 1;
        else if (prose.at(i) == u'“' && depth > 0 && --depth == 0)
            quotes << prose.mid(start, i - start);
    }
    return quotes;
}

// The text as a reader sees it: entities decoded, white space single; with its tags, or without.
QString decoded(QString html) {
    return html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"))
        .simplified();
}

QString proseOf(QString html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return decoded(html.remove(tag));
}

// Whether `quote` can be a part of the text a template gives once its "%n" are filled in: the
// fixed pieces in their order, anything in between, starting and ending anywhere; a third of the
// quote at least is fixed text, so that a quote does not pass as one long filled-in part.
bool fitsTemplate(const QString &quote, const QString &text) {
    static const QRegularExpression filledIn(QStringLiteral("%\\d"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList fixed = QString(text).replace(u'\r', u' ').split(filledIn);
    for (QString &piece : fixed)
        piece.replace(blanks, QStringLiteral(" "));
    const auto enough = [&quote](qsizetype covered) { return 3 * covered >= quote.size(); };
    // After fixed piece `next - 1`: a filled-in part, then fixed piece `next` and what follows,
    // or the end of the quote within either.
    const std::function<bool(QStringView, qsizetype, qsizetype)> rest = [&](QStringView tail,
                                                                            qsizetype next,
                                                                            qsizetype covered) {
        if (tail.isEmpty() || next == fixed.size())
            return tail.isEmpty() && enough(covered);
        for (qsizetype cut = 1; cut <= tail.size(); ++cut) {
            const QStringView after = tail.mid(cut);
            if (QStringView(fixed.at(next)).startsWith(after) && enough(covered + after.size()))
                return true;
            if (after.startsWith(fixed.at(next)) &&
                rest(after.mid(fixed.at(next).size()), next + 1, covered + fixed.at(next).size()))
                return true;
        }
        return false;
    };
    for (qsizetype i = 0; i < fixed.size(); ++i) {
        const QString &piece = fixed.at(i);
        if (piece.contains(quote))
            return true;
        for (qsizetype from = 0; from < piece.size(); ++from) {
            const QStringView end = QStringView(piece).mid(from);
            if (QStringView(quote).startsWith(end) &&
                rest(QStringView(quote).mid(end.size()), i + 1, end.size()))
                return true;
        }
        if (i > 0 && rest(QStringView(quote), i, 0)) // the quote begins in a filled-in part
            return true;
    }
    return false;
}

} // namespace

class TestManual : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void isSelfContained();
    void searchOrder_data();
    void searchOrder();
    void quotesEveryText_data();
    void quotesEveryText();
    void messagesTableQuotesOnlyProgramTexts();
    void keyTableNamesEveryAccessKey();
    void saysEachThingByOneTerm();
    void picturesAreTheWindowsSize();
#ifndef Q_OS_WIN
    void commandLinesNameInstalledPaths();
#endif

private:
    QString text_;
    QString prose_; // decoded(text_)
};

void TestManual::initTestCase() {
    QFile file(QStringLiteral(TELMARIS_PROGRAM_DIR "/hilfe.htm"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    text_ = utf8(bytes);
    QVERIFY(!utf8.hasError());
    prose_ = decoded(text_);
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
        QCOMPARE(
            dialogs.messages,
            QStringList{
                "[information] Telmaris: Die Online-Hilfe konnte leider nicht "
                "gefunden werden ...\rGesucht wurden „hilfe.htm“ und „index.htm“ in " +
                QDir::toNativeSeparators(prefix.filePath(QStringLiteral("bin"))) + " und in " +
                QDir::toNativeSeparators(prefix.filePath(QStringLiteral("share/doc/telmaris"))) +
                ". Abhilfe: „sudo apt-get install --reinstall telmaris“; bei "
                "einer Kopie ohne Installation gehören „hilfe.htm“ und der Ordner "
                "„bilder“ neben das Programm."});
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

// The table of messages quotes only what the program shows: a quote, cut where the manual leaves
// something out ("…"), is a piece of one of the program's texts with its "%n" filled in.
void TestManual::messagesTableQuotesOnlyProgramTexts() {
    const qsizetype start = text_.indexOf(QStringLiteral("id=\"meldungen\""));
    const qsizetype end = text_.indexOf(QStringLiteral("</table>"), start);
    QVERIFY(start > 0 && end > start);
    static const QRegularExpression row(QStringLiteral("<tr><td>(.*?)</td>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    int checked = 0;
    for (const auto &match : row.globalMatch(text_.mid(start, end - start))) {
        for (const QString &quote : quotesIn(proseOf(match.captured(1)))) {
            for (const QString &piece : quote.split(u'…', Qt::SkipEmptyParts)) {
                const QString words = piece.simplified();
                const QStringList texts = texts::all();
                QVERIFY2(std::any_of(
                             texts.begin(), texts.end(),
                             [&words](const QString &text) { return fitsTemplate(words, text); }),
                         qPrintable(words));
                ++checked;
            }
        }
    }
    QVERIFY(checked > 30);
}

// Each "Alt+letter" the windows show is in the table of keys with its control's caption.
void TestManual::keyTableNamesEveryAccessKey() {
    test::TempProgramFolder folder;
    folder.writeIni("[Data]\nComPort=1\n");
    test::ScriptedDialogs dialogs;
    MainWindow main(folder.path(), dialogs);
    QSignalSpy startedUp(&main, &MainWindow::startedUp);
    QCOMPARE(main.init(QString()), std::nullopt);
    QVERIFY(startedUp.wait());
    main.selectTab(101);
    TraceWindow trace(dialogs);
    test::RecordingOpener opener;
    InfoDialog info(opener);

    QMap<QString, QChar> program; // caption without "&" -> its key
    for (const QWidget *window : std::initializer_list<const QWidget *>{&main, &trace, &info}) {
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            const auto *button = qobject_cast<const QAbstractButton *>(control);
            const auto *frame = qobject_cast<const QGroupBox *>(control);
            const QString caption = button ? button->text() : frame ? frame->title() : QString();
            const qsizetype amp = caption.indexOf(u'&');
            if (amp >= 0 && amp + 1 < caption.size() && control->isVisibleTo(window))
                program.insert(QString(caption).remove(amp, 1).trimmed(),
                               caption.at(amp + 1).toUpper());
        }
    }
    QVERIFY(program.size() > 15);

    const qsizetype start = text_.indexOf(QStringLiteral("id=\"tastentabelle\""));
    const qsizetype end = text_.indexOf(QStringLiteral("</table>"), start);
    static const QRegularExpression row(
        QStringLiteral("<kbd>Alt</kbd>\\+<kbd>(\\w)</kbd></td><td>(?:zu |zur Liste )?„([^“]+)“"));
    QMap<QString, QChar> manual;
    for (const auto &match : row.globalMatch(text_.mid(start, end - start)))
        manual.insert(match.captured(2), match.captured(1).at(0));
    // "COM 1" to "COM 4" share one row: "Alt+1 … Alt+4".
    QVERIFY(
        text_.contains(QStringLiteral("<kbd>Alt</kbd>+<kbd>1</kbd> … <kbd>Alt</kbd>+<kbd>4</kbd>"
                                      "</td><td>„COM 1“ … „COM 4“")));
    for (int port = 1; port <= 4; ++port)
        manual.insert(QStringLiteral("COM %1").arg(port), QChar(u'0' + port));

    for (auto it = program.cbegin(); it != program.cend(); ++it)
        QVERIFY2(manual.value(it.key()) == it.value(),
                 qPrintable(QStringLiteral("Alt+%1 „%2“").arg(it.value()).arg(it.key())));
}

// One word for each thing, in the manual's own prose (not in what it quotes or shows as typed)
// and in the program's texts; the few fixed texts that keep an old word are left out.
void TestManual::saysEachThingByOneTerm() {
    static const QRegularExpression shown(QStringLiteral("<(pre|code|kbd)>.*?</\\1>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QString prose = proseOf(QString(text_).remove(shown));
    for (const QString &quote : quotesIn(prose))
        prose.remove(QStringLiteral("„%1“").arg(quote));
    QString program = texts::all().join(u' ');
    for (const char *kept :
         {"keinerlei Com-Ports", "Com-Port %1 ist nicht verfügbar", "die Port-Einstellung"})
        program.remove(QString::fromUtf8(kept));

    const std::pair<const char *, const char *> terms[] = {
        {"\\bCom-Ports?\\b", "Schnittstelle"},
        {"Port-Einstellung", "Schnittstelle"},
        {"COM-Nummer", "Schnittstelle"},
        {"COM-Schaltfläche", "COM 1 … COM 4"},
        {"Exit-Status", "Rückgabewert"},
        {"Desktop", "Arbeitsumgebung"},
        {"Wähltöne", "MFV-Töne"},
        {"ist nicht da\\b", "ist nicht vorhanden"},
        {"\\bScript\\b", "Skript"}};
    for (const auto &[wrong, right] : terms) {
        const QRegularExpression word(QString::fromUtf8(wrong));
        for (const QString *where : {&prose, &program}) {
            const QRegularExpressionMatch found = word.match(*where);
            QVERIFY2(!found.hasMatch(),
                     qPrintable(QStringLiteral("„%1“ statt „%2“: …%3…")
                                    .arg(found.captured(0), QString::fromUtf8(right),
                                         where->mid(qMax<qsizetype>(0, found.capturedStart() - 40),
                                                    100))));
        }
    }
}

// Every picture lies beside the manual; the window's pictures have the size the window takes
// when it is shown, as the picture program renders it, and the size the manual reserves for
// them: started as in the pictures, with the modem on COM 1 and no device behind COM 2 to 4,
// on the options page, which explains why below the ports. A control added to the window or taken
// from it changes that size by a line or more; a few pixels are left to the fonts, which differ
// between releases. On Windows, without the modem, the pictures are checked without the window.
void TestManual::picturesAreTheWindowsSize() {
#ifndef Q_OS_WIN
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
#endif
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
#ifndef Q_OS_WIN
        QTRY_VERIFY2(fits(picture), qPrintable(path));
#endif
        QCOMPARE(QSize(match.captured(2).toInt(), match.captured(3).toInt()), picture);
    }
    QVERIFY(pictures > 0);
    QCOMPARE(text_.count(QStringLiteral("<img ")), text_.count(QStringLiteral("<figure>")));
}

#ifndef Q_OS_WIN
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
#endif

QTEST_MAIN(TestManual)
#include "tst_manual.moc"
