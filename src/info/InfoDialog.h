#pragma once
// The dialog about the program: name, version and description, the logo, and buttons that lead
// to the maker. Not modal and without an owner, so the main window and a run go on meanwhile.

#include <QDialog>
#include <QPointer>

class QLabel;

namespace telmaris {

class DocumentOpener;

class InfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit InfoDialog(DocumentOpener &opener);

    // "Telmaris" + VersionString + " – Programmierhilfe für Telefonanlagen via Modem."
    static QString infoText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void centreByFrame();

    DocumentOpener &opener_;
    QLabel *logo_ = nullptr; // a click opens the maker's web site
    QSize placedFrame_;      // the frame size the dialog was last centred with
};

// Keeps at most one info dialog: ShowInfo builds it, or brings the open one to the front.
// A dialog still open when the holder goes (the program ends) is closed with it.
class InfoDialogHolder {
public:
    explicit InfoDialogHolder(DocumentOpener &opener) : opener_(opener) {}
    ~InfoDialogHolder();
    InfoDialogHolder(const InfoDialogHolder &) = delete;
    InfoDialogHolder &operator=(const InfoDialogHolder &) = delete;

    void showInfo();
    InfoDialog *dialog() const { return dialog_; }

private:
    DocumentOpener &opener_;
    QPointer<InfoDialog> dialog_;
};

} // namespace telmaris
