#pragma once
// The trace window "Debugger": lists the modem dialogue line by line in trace mode; the list,
// time stamps and all, can be written to a file the user picks.

#include "runner/Trace.h"

#include <QWidget>

class QListWidget;
class QPushButton;

namespace telmaris {

class Dialogs;

class TraceWindow : public QWidget, public TraceSink {
    Q_OBJECT
public:
    explicit TraceWindow(Dialogs &dialogs, QWidget *parent = nullptr);

    // Appends the line as the last entry and selects it, which scrolls it into view.
    void addTrace(const QString &line) override;
    QStringList lines() const;

private:
    void saveLines();

    Dialogs &dialogs_;
    QListWidget *lines_;
    QPushButton *saveButton_;
    QPushButton *clearButton_;
};

} // namespace telmaris
