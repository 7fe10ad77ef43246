// The manual as it lies beside the built program: found by the help search, self-contained,
// and covering the language, the shorthand, the command line and the messages.

#include "editor/ScriptLint.h"
#include "help/Help.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>

using namespace telmaris;

class TestManual : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void isFoundBesideTheProgram();
    void isSelfContained();
    void covers_data();
    void covers();

private:
    QString text_;
};

void TestManual::initTestCase() {
    QFile file(QStringLiteral(TELMARIS_PROGRAM_DIR "/hilfe.htm"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    text_ = utf8(bytes);
    QVERIFY(!utf8.hasError());
}

void TestManual::isFoundBesideTheProgram() {
    QCOMPARE(FindHelpFile(QStringLiteral(TELMARIS_PROGRAM_DIR)),
             QStringLiteral(TELMARIS_PROGRAM_DIR "/hilfe.htm"));
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
        QStringLiteral(
            "%EINGABE%|Strg</kbd>+<kbd>Y|Linienlänge|[Ports]|COM1=/dev/ttyUSB0|dialout|"
            "telmaris debug|telmaris 7|telmaris Nacht|Exit-Status|Telmaris.Ini|~/.config|"
            "Es sind keinerlei Com-Ports verfügbar.|Bitte überprüfen Sie die Port-Einstellung.|"
            "ist nicht verfügbar.|Das Modem hat einen Befehl nicht verstandent - bitte Verbindung "
            "und Optionen  prüfen.|Das Modem reagiert nicht - ist es eingeschaltet?|"
            "Das Skript wurde wunschgemäß abgebrochen.|"
            "Fertig! Das Programm wurde komplett abgeschickt.|unbekannten Startparameter|"
            "Die Online-Hilfe konnte leider nicht gefunden werden ...|"
            "Skript konnte nicht gespeichert werden!|[AutoMode]|AntwortZeit|"
            "Das Modem hat nicht innerhalb von 60 Sekunden geantwortet.|"
            "braucht eine Eingabe (EINGABE) und kann ohne Bildschirm nicht laufen.|"
            "grafische Oberfläche|crontab|OnCalendar|SupplementaryGroups=dialout")
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

QTEST_GUILESS_MAIN(TestManual)
#include "tst_manual.moc"
