// The modem's answers as the runner sees them: lines completed by CR, recognised by their end.
#include "runner/AnswerCollector.h"

#include <QtTest>

using namespace telmaris;

class TestAnswerCollector : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recognisesAnswers_data();
    void recognisesAnswers();
    void answerSplitAtEveryByte_data();
    void answerSplitAtEveryByte();
    void noisyLineKeepsItsTail();
    void statusText();
};

namespace {

// Each completed line as "TEXT|final|error" flags, e.g. "OK|F-".
QStringList Describe(const QList<AnswerLine> &lines) {
    QStringList described;
    for (const AnswerLine &line : lines)
        described << line.text + u'|' + (line.final ? u'F' : u'-') + (line.error ? u'E' : u'-');
    return described;
}

} // namespace

void TestAnswerCollector::recognisesAnswers_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("pending");

    QTest::newRow("verbose ok") << QByteArray("\r\nOK\r\n") << QStringList{"|--", "OK|F-"} << "";
    QTest::newRow("small letters") << QByteArray("\r\nok\r\n") << QStringList{"|--", "OK|F-"} << "";
    QTest::newRow("error") << QByteArray("\r\nERROR\r\n") << QStringList{"|--", "ERROR|FE"} << "";
    QTest::newRow("busy after text")
        << QByteArray("LINE BUSY\r") << QStringList{"LINE BUSY|F-"} << "";
    QTest::newRow("echo then ok") << QByteArray("ATDT123;\r\r\nOK\r\n")
                                  << QStringList{"ATDT123;|--", "|--", "OK|F-"} << "";
    QTest::newRow("numeric codes") << QByteArray("0\r4\r") << QStringList{"0|--", "4|--"} << "";
    QTest::newRow("connect is no final answer")
        << QByteArray("\r\nNO CARRIER\r\n") << QStringList{"|--", "NO CARRIER|--"} << "";
    QTest::newRow("ok inside is not at the end")
        << QByteArray("OK THEN\r") << QStringList{"OK THEN|--"} << "";
    QTest::newRow("no CR yet") << QByteArray("\r\nOK") << QStringList{"|--"} << "OK";
    QTest::newRow("lone LF completes nothing") << QByteArray("OK\n") << QStringList{} << "OK";
    // A character received with a framing error arrives as a NUL byte; it is dropped.
    QTest::newRow("framing error byte")
        << QByteArray("\r\nO\0K\r\n", 7) << QStringList{"|--", "OK|F-"} << "";
    QTest::newRow("control characters dropped")
        << QByteArray("\x01O\x1bK\x7f\r") << QStringList{"OK\x7f|--"} << "";
    QTest::newRow("latin-1 upper-cased")
        << QByteArray("\xe4ok\r") << QStringList{QString::fromUtf8("ÄOK|F-")} << "";
}

void TestAnswerCollector::recognisesAnswers() {
    QFETCH(QByteArray, received);
    QFETCH(QStringList, lines);
    QFETCH(QString, pending);
    AnswerCollector collector;
    QCOMPARE(Describe(collector.Feed(received)), lines);
    QCOMPARE(collector.Pending(), pending);
}

void TestAnswerCollector::answerSplitAtEveryByte_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::newRow("ok") << QByteArray("\r\nOK\r\n");
    QTest::newRow("error") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("echo") << QByteArray("AT&F\r\r\nOK\r\n");
}

void TestAnswerCollector::answerSplitAtEveryByte() {
    QFETCH(QByteArray, received);
    const QStringList whole = Describe(AnswerCollector().Feed(received));
    for (qsizetype cut = 1; cut < received.size(); ++cut) {
        AnswerCollector collector;
        QList<AnswerLine> lines = collector.Feed(received.left(cut));
        lines += collector.Feed(received.mid(cut));
        QCOMPARE(Describe(lines), whole);
        QVERIFY(collector.Pending().isEmpty());
    }
}

void TestAnswerCollector::noisyLineKeepsItsTail() {
    AnswerCollector collector;
    const QByteArray noise(3 * AnswerCollector::MaxLineLength + 17, 'x');
    for (int i = 0; i < 10; ++i)
        QVERIFY(collector.Feed(noise).isEmpty());
    QCOMPARE(collector.Pending().size(), AnswerCollector::MaxLineLength);
    const QList<AnswerLine> lines = collector.Feed("OK\r");
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].text.size(), AnswerCollector::MaxLineLength);
    QVERIFY(lines[0].text.endsWith(QLatin1String("XXOK")));
    QVERIFY(lines[0].final);
}

void TestAnswerCollector::statusText() {
    QCOMPARE(LastAnswerStatus(QStringLiteral("OK")),
             QString::fromUtf8("Letzte Modem-Antwort: »OK«"));
    QCOMPARE(LastAnswerStatus(QString()), QString::fromUtf8("Letzte Modem-Antwort: »«"));
}

QTEST_GUILESS_MAIN(TestAnswerCollector)
#include "tst_answercollector.moc"
