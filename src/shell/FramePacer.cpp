#include "shell/FramePacer.h"

#include <QWidget>

namespace telmaris {

FramePacer::FramePacer(const QList<QWidget *> &widgets, QObject *parent) : QObject(parent) {
    for (QWidget *widget : widgets)
        widgets_ << widget;
    frameEnd_.setSingleShot(true);
    frameEnd_.setTimerType(Qt::PreciseTimer);
    connect(&frameEnd_, &QTimer::timeout, this, &FramePacer::flush);
}

void FramePacer::changed() {
    if (held_)
        return; // painted at the frame's end
    if (!sincePainted_.isValid() || sincePainted_.elapsed() >= FrameMs) {
        sincePainted_.start(); // paints with the next pass of the event loop, as usual
        return;
    }
    held_ = true;
    for (QWidget *widget : widgets_)
        if (widget)
            widget->setUpdatesEnabled(false);
    frameEnd_.start(int(FrameMs - sincePainted_.elapsed()));
}

void FramePacer::flush() {
    frameEnd_.stop();
    if (!held_)
        return;
    held_ = false;
    // Enabling updates again repaints each widget whole, with what it holds now.
    for (QWidget *widget : widgets_)
        if (widget)
            widget->setUpdatesEnabled(true);
    sincePainted_.start();
}

} // namespace telmaris
