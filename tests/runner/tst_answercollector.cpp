// The modem's answers as the run and the modem test see them: lines completed by CR, LF or
// CR LF, recognised by their end.
#include "runner/AnswerCollector.h"

#include <QtTest>

using namespace telmaris;

class TestAnswerCollector : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recognisesAnswers_data();
    void recognisesAnswers();
    void noiseWithoutLineEndKeepsItsTail();
};

namespace {

// Each completed line as "TEXT|kind": "-" information, "F" OK or BUSY, "E" ERROR, "D" NO
// DIALTONE, "C" NO CARRIER, "A" NO ANSWER.
QStringList describe(const QList<AnswerLine> &lines) {
    QStringList described;
    for (const AnswerLine &line : lines)
        described << line.text + u'|' + QStringLiteral("-FEDCA").at(int(line.kind));
    return described;
}

} // namespace

void TestAnswerCollector::recognisesAnswers_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("pending");

    QTest::newRow("busy after text")
        << QByteArray("LINE BUSY\r") << QStringList{"LINE BUSY|F"} << "";
    QTest::newRow("echo then ok") << QByteArray("ATDT123;\r\r\nOK\r\n")
                                  << QStringList{"ATDT123;|-", "|-", "OK|F"} << "";
    QTest::newRow("numeric codes") << QByteArray("0\r4\r") << QStringList{"0|-", "4|-"} << "";
    QTest::newRow("a dial's failures")
        << QByteArray("\r\nNO DIALTONE\r\nNO DIAL TONE\rNO CARRIER\nno answer\r\n")
        << QStringList{"|-", "NO DIALTONE|D", "NO DIAL TONE|D", "NO CARRIER|C", "NO ANSWER|A"}
        << "";
    QTest::newRow("connect and ring are information")
        << QByteArray("\r\nCONNECT 1200\r\nRING\r\n")
        << QStringList{"|-", "CONNECT 1200|-", "RING|-"} << "";
    QTest::newRow("LF CR is two ends") << QByteArray("OK\n\r") << QStringList{"OK|F", "|-"} << "";
    QTest::newRow("no line end yet") << QByteArray("\r\nOK") << QStringList{"|-"} << "OK";
    // A character received with a framing error arrives as a NUL byte; it is dropped too.
    QTest::newRow("control characters dropped")
        << QByteArray("\x01O\0\x1bk\x7f\r", 7) << QStringList{"OK\x7f|-"} << "";
}

// Whole, and cut in two at every byte: the same lines, the same rest.
void TestAnswerCollector::recognisesAnswers() {
    QFETCH(QByteArray, received);
    QFETCH(QStringList, lines);
    QFETCH(QString, pending);
    for (qsizetype cut = 0; cut < received.size(); ++cut) {
        AnswerCollector collector;
        QList<AnswerLine> got = collector.feed(received.left(cut));
        got += collector.feed(received.mid(cut));
        QCOMPARE(describe(got), lines);
        QCOMPARE(collector.pending(), pending);
    }
}

// However long a noisy line, only its tail is kept, and its end still decides about it.
void TestAnswerCollector::noiseWithoutLineEndKeepsItsTail() {
    AnswerCollector collector;
    QVERIFY(collector.feed(QByteArray(3 * AnswerCollector::MaxLineLength + 5, 'x')).isEmpty());
    QCOMPARE(collector.pending().size(), AnswerCollector::MaxLineLength);
    const QList<AnswerLine> lines = collector.feed("OK\r");
    QCOMPARE(describe(lines),
             QStringList{QString(AnswerCollector::MaxLineLength - 2, u'X') + "OK|F"});
}

QTEST_GUILESS_MAIN(TestAnswerCollector)
#include "tst_answercollector.moc"
