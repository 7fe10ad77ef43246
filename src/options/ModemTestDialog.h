#pragma once
// The window of the modem test: the port tested, each command sent with the modem's answer
// lines as they come, and the closing verdict. The query itself runs widget-free in the runner.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace telmaris {

class ModemQuery;

class ModemTestDialog : public QDialog {
    Q_OBJECT
public:
    // port: how the user knows the port, e.g. "COM 1"; the query starts at once.
    ModemTestDialog(const QString &port, const QString &device, int baud,
                    QWidget *parent = nullptr);

    // What the modem was asked and answered, and the verdict, as shown.
    QString answers() const;
    QString verdict() const;
    bool isFinished() const;

private:
    void showStep(int index);
    void showVerdict();

    ModemQuery *query_ = nullptr;
    QString portName_;
    int baud_ = 0;
    QPlainTextEdit *answers_ = nullptr;
    QLabel *verdict_ = nullptr;
    QPushButton *closeButton_ = nullptr;
};

} // namespace telmaris
