// The modem test's query against the modem simulator on a pseudo-terminal: a line that vanishes
// between the OK to "AT" and the next command ends the query once, with the lost line's verdict.
#include "runner/ModemQuery.h"
#include "runner/ModemVerdict.h"

#include "PtyModem.h"

#include <QSignalSpy>
#include <QtTest>

using namespace telmaris;
using telmaris::test::PtyModem;

class TestModemQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineGoneBeforeTheNextCommandEndsOnce();
};

// The line is pulled the moment "AT" is answered, so writing "ATI" fails at once.
void TestModemQuery::lineGoneBeforeTheNextCommandEndsOnce() {
    PtyModem modem;
    ModemQuery query;
    connect(&query, &ModemQuery::stepFinished, this, [&modem](int index) {
        if (index == 0)
            modem->dropLine();
    });
    QSignalSpy steps(&query, &ModemQuery::stepFinished);
    QSignalSpy finished(&query, &ModemQuery::finished);

    query.start(modem.devicePath(), 1200);
    QVERIFY(finished.wait(5000));
    // Longer than a command's limit: nothing may end a second time.
    QTest::qWait(ModemQuery::AnswerLimitMs + 500);

    QCOMPARE(finished.size(), 1);
    QCOMPARE(steps.size(), 2);
    QCOMPARE(query.steps().size(), 2);
    QCOMPARE(query.steps().at(0).outcome, QueryOutcome::Ok);
    QCOMPARE(query.steps().at(1).outcome, QueryOutcome::LineLost);
    QVERIFY(modemVerdict(query.steps(), QString(), QStringLiteral("COM 1"), 1200)
                .startsWith(QString::fromUtf8(
                    "Die Verbindung zum Modem ist während des Tests abgebrochen.")));
}

QTEST_GUILESS_MAIN(TestModemQuery)
#include "tst_modemquery.moc"
