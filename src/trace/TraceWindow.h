#pragma once
// The trace window "Debugger": lists the modem dialogue line by line in trace mode.

#include "runner/Trace.h"

#include <QWidget>

class QListWidget;
class QPushButton;

namespace telmaris {

class TraceWindow : public QWidget, public TraceSink {
    Q_OBJECT
public:
    explicit TraceWindow(QWidget *parent = nullptr);

    // Appends the line as the last entry and selects it, which scrolls it into view.
    void addTrace(const QString &line) override;
    QStringList lines() const;

private:
    QListWidget *lines_;
    QPushButton *clearButton_;
};

} // namespace telmaris
