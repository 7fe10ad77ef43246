// The version text, the support mail address and where the info dialog appears.

#include "info/InfoPosition.h"
#include "info/VersionString.h"

#include <QRegularExpression>
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
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("4.0.14") << 4 << 0 << 14 << " (V4.0)";
    QTest::newRow("revision 0") << 1 << 2 << 0 << " (V1.2)";
    QTest::newRow("revision 99") << 1 << 0 << 99 << " (V1.0)";
    QTest::newRow("revision 100") << 1 << 0 << 100 << " (V1.0a)";
    QTest::newRow("revision 149") << 1 << 0 << 149 << " (V1.0a)";
    QTest::newRow("revision 150") << 1 << 0 << 150 << " (V1.0b)";
    QTest::newRow("revision 250") << 1 << 0 << 250 << " (V1.0b)";
    QTest::newRow("revision 251") << 1 << 0 << 251 << " (V1.0c)";
    QTest::newRow("revision 350") << 2 << 11 << 350 << " (V2.11d)";
}

void TestVersion::versionLetters() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(VersionString(major, minor, revision), text);
}

void TestVersion::mailSubject() {
    const QString subject = SupportMailSubject();
    QVERIFY(subject.startsWith(QStringLiteral("Telmaris") + VersionString() +
                               QStringLiteral(" unter ")));
    QVERIFY(subject.size() > QStringLiteral("Telmaris (V1.0) unter ").size());
#ifdef Q_OS_WIN
    QVERIFY(QRegularExpression(QStringLiteral(" unter Windows \\d+\\.\\d+\\.\\d+$"))
                .match(subject)
                .hasMatch());
#endif

    const QString address = SupportMailAddress(
        QStringLiteral("Telmaris (V1.0a) unter Debian GNU/Linux 12 (bookworm) & \u00e4"));
    QCOMPARE(address,
             QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20%28V1.0a%29%20unter%20"
                            "Debian%20GNU%2FLinux%2012%20%28bookworm%29%20%26%20%C3%A4"));
    // A mail program reads the subject back unchanged.
    const QUrl url(address);
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Telmaris (V1.0a) unter Debian GNU/Linux 12 (bookworm) & \u00e4"));
}

void TestVersion::position_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("640 x 480") << QRect(0, 0, 640, 480) << QPoint(0, 0);
    QTest::newRow("narrow, tall") << QRect(0, 0, 640, 1024) << QPoint(0, 0);
    QTest::newRow("wide, low") << QRect(0, 0, 1280, 480) << QPoint(0, 0);
    QTest::newRow("641 x 481") << QRect(0, 0, 641, 481) << QPoint(7, 28);
    QTest::newRow("800 x 600") << QRect(0, 0, 800, 600) << QPoint(87, 88);
    QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1080) << QPoint(647, 328);
    QTest::newRow("second screen") << QRect(1920, 0, 1024, 768) << QPoint(1920 + 199, 172);
    QTest::newRow("small second screen") << QRect(1920, 100, 640, 480) << QPoint(1920, 100);
}

void TestVersion::position() {
    QFETCH(QRect, screen);
    QFETCH(QPoint, expected);
    QCOMPARE(InfoDialogPosition(screen, QSize(626, 424)), expected);
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
