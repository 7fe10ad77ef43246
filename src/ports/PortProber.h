#pragma once
// Probes the four ports on a thread of its own, so the window stays responsive while a port
// is opened, a refused one is diagnosed (which may read every process's open files) or a
// device takes its time to answer the open. One probe at a time: a probe asked for while one
// runs follows it, with the map as it is then.

#include "ports/PortMap.h"

#include <QObject>
#include <optional>

class QThread;

namespace telmaris {

class PortProber : public QObject {
    Q_OBJECT
public:
    explicit PortProber(QObject *parent = nullptr);
    // Waits for a probe still running: it holds the ports open for a moment.
    ~PortProber() override;
    PortProber(const PortProber &) = delete;
    PortProber &operator=(const PortProber &) = delete;

    // Probes the ports of map. With earlier, only the ports whose device changed since then
    // are opened (see checkComPorts). finished() tells the result on the event loop.
    void probe(const PortMap &map, std::optional<PortProbe> earlier = std::nullopt);
    bool busy() const { return thread_ != nullptr; }

Q_SIGNALS:
    void finished(const telmaris::PortProbe &probe);

private:
    void start();
    void deliver(const PortProbe &probe);

    struct Request {
        PortMap map;
        std::optional<PortProbe> earlier;
    };
    QThread *thread_ = nullptr;
    std::optional<Request> next_;
};

} // namespace telmaris
