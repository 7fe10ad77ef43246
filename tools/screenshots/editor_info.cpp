// Renders the script editor (with a line that will be skipped and its tooltip) and the info
// dialog to PNG files, so the pictures in the README can be made again at any time:
//   QT_QPA_PLATFORM=offscreen build/tools/screenshots/editor_info docs/images

#include "editor/ScriptEdit.h"
#include "help/DocumentOpener.h"
#include "info/InfoDialog.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

namespace {

class NoOpener : public telmaris::DocumentOpener {
public:
    bool open(const QUrl &) override { return true; }
};

void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

bool save(const QImage &image, const QString &path) {
    if (!image.save(path)) {
        qCritical("Cannot write %s", qPrintable(path));
        return false;
    }
    qInfo("%s", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    telmaris::ScriptEdit edit(false);
    edit.setLineLen(48);
    edit.resize(620, 330);
    edit.setCrlfText(QStringLiteral("Rufumleitung f\u00fcr Nebenstelle 21 einrichten\r\n"
                                    "------------------------------------------------\r\n"
                                    "TONWAHL\r\n"
                                    "EINGABE Auf welche Rufnummer soll umgeleitet werden?\r\n"
                                    "W\u00c4HLE *21\r\n"
                                    "PAUES 2\r\n"
                                    "W\u00c4HLE %EINGABE%#\r\n"
                                    "PAUSE 3\r\n"
                                    "FLASH\r\n"
                                    "pause 1\r\n"
                                    "HINWEIS Die Rufumleitung auf %EINGABE% ist eingerichtet.\r\n"
                                    "AUFLEGEN\r\n"));
    edit.show();
    settle();
    QTextBlock skipped = edit.document()->findBlockByNumber(9);
    const QPoint at = edit.cursorRect(QTextCursor(skipped)).center() + QPoint(20, 0);
    QHelpEvent help(QEvent::ToolTip, at, edit.viewport()->mapToGlobal(at));
    QApplication::sendEvent(edit.viewport(), &help);
    settle();

    QImage editorImage = edit.grab().toImage();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible()) {
            QPainter painter(&editorImage);
            painter.drawPixmap(edit.mapFromGlobal(w->pos()), w->grab());
        }
    }
    bool ok = save(editorImage, QDir(folder).filePath(QStringLiteral("editor.png")));
    QToolTip::hideText();

    NoOpener opener;
    telmaris::InfoDialogHolder holder(opener);
    holder.showInfo();
    settle();
    ok = save(holder.dialog()->grab().toImage(),
              QDir(folder).filePath(QStringLiteral("info.png"))) &&
         ok;
    return ok ? 0 : 1;
}
