// The modem's answers as the runner sees them: lines completed by CR, recognised by their end.
#include "runner/AnswerCollector.h"

#include <QtTest>

using namespace telmaris;

class TestAnswerCollector : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recognisesAnswers_data();
    void recognisesAnswers();
};

namespace {

// Each completed line as "TEXT|final|error" flags, e.g. "OK|F-".
QStringList describe(const QList<AnswerLine> &lines) {
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

    QTest::newRow("small letters") << QByteArray("\r\nok\r\n") << QStringList{"|--", "OK|F-"} << "";
    QTest::newRow("error") << QByteArray("\r\nERROR\r\n") << QStringList{"|--", "ERROR|FE"} << "";
    QTest::newRow("busy after text")
        << QByteArray("LINE BUSY\r") << QStringList{"LINE BUSY|F-"} << "";
    QTest::newRow("echo then ok") << QByteArray("ATDT123;\r\r\nOK\r\n")
                                  << QStringList{"ATDT123;|--", "|--", "OK|F-"} << "";
    QTest::newRow("numeric codes") << QByteArray("0\r4\r") << QStringList{"0|--", "4|--"} << "";
    QTest::newRow("connect is no final answer")
        << QByteArray("\r\nNO CARRIER\r\n") << QStringList{"|--", "NO CARRIER|--"} << "";
    QTest::newRow("no CR yet") << QByteArray("\r\nOK") << QStringList{"|--"} << "OK";
    QTest::newRow("lone LF completes nothing") << QByteArray("OK\n") << QStringList{} << "OK";
    // A character received with a framing error arrives as a NUL byte; it is dropped.
    QTest::newRow("framing error byte")
        << QByteArray("\r\nO\0K\r\n", 7) << QStringList{"|--", "OK|F-"} << "";
    QTest::newRow("control characters dropped")
        << QByteArray("\x01O\x1bK\x7f\r") << QStringList{"OK\x7f|--"} << "";
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

QTEST_GUILESS_MAIN(TestAnswerCollector)
#include "tst_answercollector.moc"
