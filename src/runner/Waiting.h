#pragma once
// How the runner waits: it lets the pending events run once, then sleeps in the event loop
// until an event (port data, a timer tick, a click) has made done() true. An idle wait costs
// no CPU, and the window stays usable.

#include <QCoreApplication>
#include <QEventLoop>

namespace telmaris {

template <typename Done> void waitUntil(Done done) {
    // One turn always runs, even when done() holds already (an abort requested earlier), so
    // that what was just written gets out.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace telmaris
