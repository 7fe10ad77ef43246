// The info dialog as the user sees and uses it: the version it names, where it appears, the
// pages and the support mail it opens.

#include "RecordingOpener.h"
#include "info/InfoDialog.h"
#include "info/InfoPosition.h"
#include "info/VersionString.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace telmaris;

class TestInfoDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsItselfAndLeadsToTheMaker();
    void versionLetters();
    void smallScreensShowItInTheCorner();
};

void TestInfoDialog::showsItselfAndLeadsToTheMaker() {
    test::RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.showInfo();
    InfoDialog *dialog = holder.dialog();
    QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Info \u00fcber Telmaris"));
    QVERIFY(!dialog->isModal());
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("infoText"));
    QCOMPARE(text->text(), "Telmaris" + versionString() +
                               QStringLiteral(" \u2013 Programmierhilfe f\u00fcr Telefonanlagen "
                                              "via Modem."));
    // Centred by its outer frame on the offscreen screen, which is larger than 640 x 480.
    const QRect screen = dialog->screen()->geometry();
    QVERIFY((dialog->frameGeometry().center() - screen.center()).manhattanLength() <= 1);

    // The logo along the left edge and the three buttons lead to the maker.
    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("logo"));
    QVERIFY(logo->pixmap().height() > logo->pixmap().width());
    QTest::mouseClick(logo, Qt::LeftButton);
    for (const char *name : {"aboutButton", "mailButton", "webButton", "closeButton"}) {
        auto *button = dialog->findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY2(button->text().contains(QByteArray(name) != "closeButton" ? "elmaris"
                                                                           : "Fenster &schließen"),
                 qPrintable(button->text()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(opener.addresses.size(), 4);
    QCOMPARE(opener.addresses.mid(0, 2) + opener.addresses.mid(3),
             (QStringList{"https://www.telmaris.de", "https://www.telmaris.de/ueber-uns",
                          "https://www.telmaris.de"}));
    // The support mail's subject names the version and the system, and a mail program reads
    // it back whole.
    const QUrl mail(opener.addresses[2]);
    QCOMPARE(mail.scheme() + ':' + mail.path(), QStringLiteral("mailto:support@telmaris.de"));
    QVERIFY(QUrlQuery(mail)
                .queryItemValue("subject", QUrl::FullyDecoded)
                .startsWith("Telmaris" + versionString() + " unter "));
    QTRY_VERIFY(holder.dialog() == nullptr); // the last button closed it
}

// Version 1.0 by its revision.
void TestInfoDialog::versionLetters() {
    const std::pair<int, const char *> rows[] = {{99, " (V1.0)"},   {100, " (V1.0a)"},
                                                 {149, " (V1.0a)"}, {150, " (V1.0b)"},
                                                 {250, " (V1.0b)"}, {251, " (V1.0c)"}};
    for (const auto &[revision, text] : rows)
        QCOMPARE(QString::number(revision) + versionString(1, 0, revision),
                 QString::number(revision) + QString::fromLatin1(text));
}

// A screen of 640 x 480 or less shows it in its top left corner; a larger one centres it.
void TestInfoDialog::smallScreensShowItInTheCorner() {
    QCOMPARE(infoDialogPosition(QRect(1920, 100, 640, 480), QSize(626, 424)), QPoint(1920, 100));
    QCOMPARE(infoDialogPosition(QRect(0, 0, 641, 481), QSize(626, 424)), QPoint(7, 28));
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
