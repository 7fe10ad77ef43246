// The info dialog as the user sees and uses it.

#include "RecordingOpener.h"
#include "info/InfoDialog.h"
#include "info/VersionString.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace telmaris;

class TestInfoDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsItselfAndLeadsToTheMaker();
    void onlyOneDialogAtATime();
};

void TestInfoDialog::showsItselfAndLeadsToTheMaker() {
    test::RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    InfoDialog *dialog = holder.dialog();
    QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Info \u00fcber Telmaris"));
    QVERIFY(!dialog->isModal());
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Label0"));
    QCOMPARE(text->text(), "Telmaris" + VersionString() +
                               QStringLiteral(" \u2013 Programmierhilfe f\u00fcr Telefonanlagen "
                                              "via Modem."));
    // Centred by its outer frame on the offscreen screen, which is larger than 640 x 480.
    const QRect screen = dialog->screen()->geometry();
    QVERIFY((dialog->frameGeometry().center() - screen.center()).manhattanLength() <= 1);

    // The logo along the left edge and the three buttons lead to the maker.
    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(logo->pixmap().height() > logo->pixmap().width());
    QTest::mouseClick(logo, Qt::LeftButton);
    for (int index = 0; index < 4; ++index) {
        auto *button = dialog->findChild<QPushButton *>(QStringLiteral("Btn%1").arg(index));
        QVERIFY2(button->text().contains(index < 3 ? "elmaris" : "Fenster &schliessen"),
                 qPrintable(button->text()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(opener.addresses,
             (QStringList{"https://www.telmaris.de", "https://www.telmaris.de/ueber-uns",
                          SupportMailAddress(SupportMailSubject()), "https://www.telmaris.de"}));
    QTRY_VERIFY(holder.dialog() == nullptr); // the last button closed it
}

// A second ShowInfo brings the open dialog forward; Escape closes it like its close button.
void TestInfoDialog::onlyOneDialogAtATime() {
    test::RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    InfoDialog *first = holder.dialog();
    holder.ShowInfo();
    QCOMPARE(holder.dialog(), first);
    QTest::keyClick(first, Qt::Key_Escape);
    QTRY_VERIFY(holder.dialog() == nullptr);
    holder.ShowInfo();
    QVERIFY(holder.dialog() && holder.dialog()->isVisible());
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
