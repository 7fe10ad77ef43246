// The version text, the support mail address and where the info dialog appears.

#include "info/InfoPosition.h"
#include "info/VersionString.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace telmaris;

class TestVersion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void versionLetters_data();
    void versionLetters();
    void mailSubject();
    void position_data();
    void position();
};

void TestVersion::versionLetters_data() {
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text"); // of version 1.0
    const std::pair<int, const char *> rows[] = {
        {0, " (V1.0)"},    {99, " (V1.0)"},   {100, " (V1.0a)"}, {149, " (V1.0a)"},
        {150, " (V1.0b)"}, {250, " (V1.0b)"}, {251, " (V1.0c)"}, {350, " (V1.0d)"}};
    for (const auto &[revision, text] : rows)
        QTest::addRow("revision %d", revision) << revision << QString::fromLatin1(text);
}

void TestVersion::versionLetters() {
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(VersionString(1, 0, revision), text);
    QCOMPARE(VersionString(2, 11, revision), QString(text).replace("1.0", "2.11"));
}

// A mail program reads the subject back unchanged.
void TestVersion::mailSubject() {
    QVERIFY(SupportMailSubject().startsWith("Telmaris" + VersionString() + " unter "));
    const QString subject =
        QStringLiteral("Telmaris (V1.0a) unter Debian GNU/Linux 12 (bookworm) & \u00e4");
    const QString address = SupportMailAddress(subject);
    QVERIFY(address.startsWith(QStringLiteral("mailto:support@telmaris.de?subject=")));
    QCOMPARE(QUrlQuery(QUrl(address)).queryItemValue("subject", QUrl::FullyDecoded), subject);
}

void TestVersion::position_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("640 x 480") << QRect(0, 0, 640, 480) << QPoint(0, 0);
    QTest::newRow("641 x 481") << QRect(0, 0, 641, 481) << QPoint(7, 28);
    QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1080) << QPoint(647, 328);
    QTest::newRow("second screen") << QRect(1920, 0, 1024, 768) << QPoint(1920 + 199, 172);
}

void TestVersion::position() {
    QFETCH(QRect, screen);
    QFETCH(QPoint, expected);
    QCOMPARE(InfoDialogPosition(screen, QSize(626, 424)), expected);
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
