// The info dialog as the user sees and uses it.

#include "help/DocumentOpener.h"
#include "info/InfoDialog.h"
#include "info/VersionString.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <algorithm>

using namespace telmaris;

namespace {

class RecordingOpener : public DocumentOpener {
public:
    void Open(const QUrl &url) override { opened.append(url.toString(QUrl::FullyEncoded)); }
    QStringList opened;
};

QPushButton *Button(InfoDialog *dialog, int index) {
    return dialog->findChild<QPushButton *>(QStringLiteral("Btn%1").arg(index));
}

} // namespace

class TestInfoDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsNameVersionAndDescription();
    void buttonsLeadToTheMaker();
    void logoOpensTheWebSite();
    void onlyOneDialogAtATime();
};

void TestInfoDialog::showsNameVersionAndDescription() {
    RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    InfoDialog *dialog = holder.dialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Info \u00fcber Telmaris"));
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->parentWidget() == nullptr);

    auto *text = dialog->findChild<QLabel *>(QStringLiteral("Label0"));
    QVERIFY(text != nullptr);
    QCOMPARE(text->text(), QStringLiteral("Telmaris") + VersionString() +
                               QStringLiteral(" \u2013 Programmierhilfe f\u00fcr Telefonanlagen "
                                              "via Modem."));
    QCOMPARE(text->font().pointSizeF(), 9.75);
    QCOMPARE(text->font().families().value(0), QStringLiteral("Arial"));

    const QStringList captions{Button(dialog, 0)->text(), Button(dialog, 1)->text(),
                               Button(dialog, 2)->text(), Button(dialog, 3)->text()};
    QCOMPARE(captions.last(), QStringLiteral("Fenster &schliessen"));
    for (const QString &caption : captions.mid(0, 3))
        QVERIFY2(caption.contains(QStringLiteral("elmaris")), qPrintable(caption));

    // The offscreen screen is larger than 640 x 480: centred.
    const QRect screen = dialog->screen()->geometry();
    QVERIFY(screen.width() > 640 && screen.height() > 480);
    const QPoint offCentre = dialog->frameGeometry().center() - screen.center();
    QVERIFY2(offCentre.manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(dialog->size(), QSize(626, 424));
}

void TestInfoDialog::buttonsLeadToTheMaker() {
    RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    InfoDialog *dialog = holder.dialog();
    QTest::mouseClick(Button(dialog, 0), Qt::LeftButton);
    QTest::mouseClick(Button(dialog, 1), Qt::LeftButton);
    QTest::mouseClick(Button(dialog, 2), Qt::LeftButton);
    QCOMPARE(opener.opened.size(), 3);
    QCOMPARE(opener.opened[0], QStringLiteral("https://www.telmaris.de/ueber-uns"));
    QCOMPARE(opener.opened[1], SupportMailAddress(SupportMailSubject()));
    QVERIFY(opener.opened[1].startsWith(
        QStringLiteral("mailto:support@telmaris.de?subject=Telmaris%20%28V")));
    QCOMPARE(opener.opened[2], QStringLiteral("https://www.telmaris.de"));
    QVERIFY(dialog->isVisible());

    QTest::mouseClick(Button(dialog, 3), Qt::LeftButton);
    QTRY_VERIFY(holder.dialog() == nullptr); // closed and gone
    QCOMPARE(opener.opened.size(), 3);
}

void TestInfoDialog::logoOpensTheWebSite() {
    RecordingOpener opener;
    InfoDialogHolder holder(opener);
    holder.ShowInfo();
    auto *logo = holder.dialog()->findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(logo != nullptr);
    QVERIFY(!logo->pixmap().isNull());
    QVERIFY(logo->pixmap().height() > logo->pixmap().width()); // tall, along the left edge
    QCOMPARE(logo->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(logo->toolTip().contains(QStringLiteral("Programme")));
    QTest::mouseClick(logo, Qt::LeftButton);
    QCOMPARE(opener.opened, QStringList{QStringLiteral("https://www.telmaris.de")});
}

void TestInfoDialog::onlyOneDialogAtATime() {
    RecordingOpener opener;
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

    first->close();
    QTRY_VERIFY(holder.dialog() == nullptr);
    holder.ShowInfo();
    QVERIFY(holder.dialog() != nullptr);
    QVERIFY(holder.dialog()->isVisible());

    // Escape closes it like its close button; the next ShowInfo builds a new one.
    QTest::keyClick(holder.dialog(), Qt::Key_Escape);
    QTRY_VERIFY(holder.dialog() == nullptr);
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
