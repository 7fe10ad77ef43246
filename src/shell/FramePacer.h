#pragma once
// Lets the widgets a run changes (the editor with the line being sent, the status line with the
// latest answer) paint at most once per display frame. Each line selects and scrolls the editor
// and each answer sets the status line; with a modem that answers at once that asked for far
// more paints than a screen shows, and painting took most of a line's processor time.
//
// The widgets still take every change at once (selection, text); only their painting is held:
// the first change after a quiet frame paints as usual, further changes within the frame hold
// the widgets' updates until the frame's end, when they paint once with the latest state.
// flush() paints what is held at once: before a box opens and at the run's end.

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace telmaris {

class FramePacer : public QObject {
public:
    FramePacer(const QList<QWidget *> &widgets, QObject *parent = nullptr);

    void changed(); // a paced widget changed what it shows
    void flush();

    static constexpr int FrameMs = 16; // about 60 pictures a second

private:
    QList<QPointer<QWidget>> widgets_;
    QTimer frameEnd_;
    QElapsedTimer sincePainted_;
    bool held_ = false;
};

} // namespace telmaris
