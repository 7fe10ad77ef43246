// The manual as it lies beside the built program: self-contained,
// covering the language, the shorthand and the command line, and quoting every message and
// status text the program can show, word for word.

#include "common/UserTexts.h"
#include "editor/ScriptLint.h"

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
    void covers_data();
    void covers();
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
}

void TestManual::covers_data() {
    QTest::addColumn<QString>("phrase");
    for (const QString &keyword : ScriptKeywords())
        QTest::newRow(qPrintable(keyword)) << QStringLiteral("<code>%1</code>").arg(keyword);
    // Phrases separated by "|".
    const QStringList phrases =
        QStringLiteral("%EINGABE%|Strg</kbd>+<kbd>Y|Linienlänge|[Ports]|COM1=/dev/ttyUSB0|dialout|"
                       "telmaris debug|telmaris 7|telmaris Nacht|Exit-Status|Telmaris.Ini|"
                       "~/.config/Telmaris/Telmaris.Ini|[AutoMode]|AntwortZeit|crontab|OnCalendar|"
                       "SupplementaryGroups=dialout")
            .split(u'|');
    for (const QString &phrase : phrases)
        QTest::newRow(qPrintable(phrase)) << phrase;
    for (const QChar letter : QStringLiteral("emfithpaw-_#~+*"))
        QTest::newRow(qPrintable(QString(letter))) << QStringLiteral("<kbd>%1</kbd>").arg(letter);
    for (int status = 0; status <= 3; ++status)
        QTest::newRow(qPrintable(QStringLiteral("exit %1").arg(status)))
            << QStringLiteral("<tr><td>%1</td>").arg(status);
}

void TestManual::covers() {
    QFETCH(QString, phrase);
    QString html = phrase;
    html.replace(QStringLiteral("&"), QStringLiteral("&amp;"));
    QVERIFY2(text_.contains(phrase) || text_.contains(html), qPrintable(phrase));
}

// Texts built from pieces are checked by their fixed pieces: what is filled in ("%1") and the
// line breaks of a message box split them.
void TestManual::quotesEveryText_data() {
    QTest::addColumn<QString>("piece");
    static const QRegularExpression filledIn(QStringLiteral("%\\d|\r"));
    for (const QString &text : texts::All()) {
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
