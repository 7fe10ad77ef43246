// Number reading and trimming: the rules every setting, PAUSE argument and the command line share.
#include "common/Numbers.h"

#include <QtTest>
#include <clocale>

using namespace telmaris;

class TestNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void trimRemovesBlanksOnly();
    void leadingNumber_data();
    void leadingNumber();
    void lenientSkipsBlanksAndTabs_data();
    void lenientSkipsBlanksAndTabs();
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void settingNumbersOutside16BitAreInvalid();
    void ignoresGermanLocale();
};

void TestNumbers::trimRemovesBlanksOnly() {
    QCOMPARE(TrimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    QCOMPARE(TrimBlanks(QStringLiteral("\t a \r\n")), QStringLiteral("\t a \r\n"));
    QCOMPARE(TrimBlanks(QStringLiteral("   ")), QString());
    QCOMPARE(TrimBlanks(QString()), QString());
}

void TestNumbers::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "42" << 42.0;
    QTest::newRow("fraction") << "7.9" << 7.9;
    QTest::newRow("sign") << "-3" << -3.0;
    QTest::newRow("plus") << "+5" << 5.0;
    QTest::newRow("word after") << "5 Sekunden" << 5.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma stops") << "2,5" << 2.0;
    QTest::newRow("no number") << "x" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("blank not skipped") << " 5" << 0.0;
    QTest::newRow("second sign stops") << "--5" << 0.0;
    QTest::newRow("sign after digits stops") << "5-3" << 5.0;
    QTest::newRow("huge") << "99999999999999999999" << 1e20;
}

void TestNumbers::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ReadLeadingNumber(text), value);
}

void TestNumbers::lenientSkipsBlanksAndTabs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("blanks around") << "  45  " << 45.0;
    QTest::newRow("blank inside") << "1 0" << 10.0;
    QTest::newRow("tab inside") << "2\t5" << 25.0;
    QTest::newRow("sign then blank") << "- 3" << -3.0;
    QTest::newRow("word") << "fünf" << 0.0;
    QTest::newRow("comma") << "2,5" << 2.0;
}

void TestNumbers::lenientSkipsBlanksAndTabs() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ReadLeadingNumberLenient(text), value);
}

void TestNumbers::roundsHalfToEven_data() {
    QTest::addColumn<double>("in");
    QTest::addColumn<double>("out");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-3.5") << -3.5 << -4.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("-0.4") << -0.4 << 0.0;
}

void TestNumbers::roundsHalfToEven() {
    QFETCH(double, in);
    QFETCH(double, out);
    QCOMPARE(RoundHalfToEven(in), out);
}

void TestNumbers::settingNumbersOutside16BitAreInvalid() {
    QCOMPARE(ReadSettingNumber(u"32767"), std::optional<qint16>(32767));
    QCOMPARE(ReadSettingNumber(u"-32768"), std::optional<qint16>(-32768));
    QCOMPARE(ReadSettingNumber(u"32767.4"), std::optional<qint16>(32767));
    QVERIFY(!ReadSettingNumber(u"32767.5").has_value()); // rounds to 32768
    QVERIFY(!ReadSettingNumber(u"32768").has_value());
    QVERIFY(!ReadSettingNumber(u"-32769").has_value());
    QCOMPARE(ReadSettingNumber(u"1e400"), std::optional<qint16>(1)); // "e" ends the number
    QVERIFY(!ReadSettingNumber(QString(400, u'9')).has_value());
    QCOMPARE(ReadSettingNumber(QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1")),
             std::optional<qint16>(0));
}

void TestNumbers::ignoresGermanLocale() {
    // A German desktop sets a locale whose decimal separator is ",".
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QCOMPARE(ReadLeadingNumber(u"2.5"), 2.5);
    std::setlocale(LC_ALL, "C");
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
