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
    void roundsHalfToEven();
    void settingNumbersOutside16BitAreInvalid();
};

void TestNumbers::trimRemovesBlanksOnly() {
    QCOMPARE(TrimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    QCOMPARE(TrimBlanks(QStringLiteral("\t a \r\n")), QStringLiteral("\t a \r\n"));
    QCOMPARE(TrimBlanks(QStringLiteral("   ")), QString());
}

void TestNumbers::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("strict");  // ReadLeadingNumber
    QTest::addColumn<double>("lenient"); // ReadLeadingNumberLenient: blanks and tabs skipped
    const std::tuple<const char *, double, double> rows[] = {
        {"42", 42, 42},    {"7.9", 7.9, 7.9},    {"-3", -3, -3},
        {"+5", 5, 5},      {"5 Sekunden", 5, 5}, {"1.2.3", 1.2, 1.2},
        {"2,5", 2, 2},     {"x", 0, 0},          {"", 0, 0},
        {"-", 0, 0},       {".", 0, 0},          {".5", 0.5, 0.5},
        {"--5", 0, 0},     {"5-3", 5, 5},        {" 5", 0, 5},
        {"  45  ", 0, 45}, {"1 0", 1, 10},       {"2\t5", 2, 25},
        {"- 3", 0, -3},    {"fünf", 0, 0},       {"99999999999999999999", 1e20, 1e20}};
    for (const auto &[text, strict, lenient] : rows)
        QTest::addRow("'%s'", text) << QString::fromUtf8(text) << strict << lenient;
}

void TestNumbers::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, strict);
    QFETCH(double, lenient);
    QCOMPARE(ReadLeadingNumber(text), strict);
    QCOMPARE(ReadLeadingNumberLenient(text), lenient);
    // A German desktop sets a locale whose decimal separator is ",".
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QCOMPARE(ReadLeadingNumber(text), strict);
    std::setlocale(LC_ALL, "C");
}

void TestNumbers::roundsHalfToEven() {
    const double in[] = {2.5, 3.5, 0.5, -2.5, -3.5, 2.4, 2.6, -0.4};
    const double out[] = {2, 4, 0, -2, -4, 2, 3, 0};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(RoundHalfToEven(in[i]), out[i]);
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

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
