// The info dialog as the user sees and uses it.

#include "RecordingOpener.h"
#include "info/InfoDialog.h"
#include "info/VersionString.h"

#include <QApplication>
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
    auto *text = dialog->findChild<QLabel *>(QStringLiteral("infoText"));
    QCOMPARE(text->text(), "Telmaris" + VersionString() +
                               QStringLiteral(" \u2013 Programmierhilfe f\u00fcr Telefonanlagen "
                                              "via Modem."));
    QCOMPARE(text->font().pointSizeF(), 9.75);
    // The offscreen screen is larger than 640 x 480: centred by its outer frame, which the
    // offscreen platform draws a few pixels wide, as a window manager does.
    const QRect screen = dialog->screen()->geometry();
    QVERIFY(screen.width() > 640 && screen.height() > 480);
    QVERIFY(dialog->frameGeometry() != dialog->geometry());
    QVERIFY((dialog->frameGeometry().center() - screen.center()).manhattanLength() <= 1);
    QCOMPARE(dialog->size(), QSize(626, 424));

    // The logo along the left edge and the three buttons lead to the maker.
    auto *logo = dialog->findChild<QLabel *>(QStringLiteral("logo"));
    QVERIFY(logo->pixmap().height() > logo->pixmap().width());
    QVERIFY(logo->toolTip().contains(QStringLiteral("Programme")));
    QCOMPARE(logo->cursor().shape(), Qt::BitmapCursor); // a hand
    QTest::mouseClick(logo, Qt::LeftButton);
    for (const char *name : {"aboutButton", "mailButton", "webButton", "closeButton"}) {
        auto *button = dialog->findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY2(button->text().contains(QByteArray(name) != "closeButton" ? "elmaris"
                                                                           : "Fenster &schliessen"),
                 qPrintable(button->text()));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(opener.addresses,
             (QStringList{"https://www.telmaris.de", "https://www.telmaris.de/ueber-uns",
                          SupportMailAddress(SupportMailSubject()), "https://www.telmaris.de"}));
    QVERIFY(opener.addresses[2].startsWith("mailto:support@telmaris.de?subject=Telmaris%20%28V"));
    QTRY_VERIFY(holder.dialog() == nullptr); // the last button closed it
}

void TestInfoDialog::onlyOneDialogAtATime() {
    test::RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    InfoDialog *first = holder.dialog();
    holder.ShowInfo();
    QCOMPARE(holder.dialog(), first);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(
        std::count_if(windows.begin(), windows.end(),
                      [](QWidget *w) { return qobject_cast<InfoDialog *>(w) && w->isVisible(); }),
        1);
    // Escape closes it like its close button; the next ShowInfo builds a new one.
    QTest::keyClick(first, Qt::Key_Escape);
    QTRY_VERIFY(holder.dialog() == nullptr);
    holder.ShowInfo();
    QVERIFY(holder.dialog() && holder.dialog()->isVisible());
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
