#include "ports/PortProber.h"

#include <QThread>

namespace telmaris {

PortProber::PortProber(QObject *parent) : QObject(parent) {}

PortProber::~PortProber() {
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void PortProber::probe(const PortMap &map, std::optional<PortProbe> earlier) {
    next_ = Request{map, std::move(earlier)};
    if (!thread_)
        start();
}

void PortProber::start() {
    const Request request = *next_;
    next_.reset();
    // A thread started by QThread: the serial line's timers and notifiers need its event
    // dispatcher, although they never fire there.
    thread_ = QThread::create([request, this] {
        const PortProbe result =
            checkComPorts(request.map, request.earlier ? &*request.earlier : nullptr);
        // Queued to this object: dropped if it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, result] { deliver(result); }, Qt::QueuedConnection);
    });
    thread_->start();
}

void PortProber::deliver(const PortProbe &probe) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    if (next_) {
        // The map changed meanwhile: this result is already old.
        start();
        return;
    }
    Q_EMIT finished(probe);
}

} // namespace telmaris
