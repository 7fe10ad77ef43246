#pragma once
// The platform's side of SerialLine: one file per platform implements it and makes it with
// makeSerialLinePort. It reports through the line's signals.

#include "ports/SerialLine.h"

#include <memory>

namespace telmaris {

class SerialLine::Port {
public:
    virtual ~Port() = default;
    virtual bool open(const QString &device, int baud, bool hardwareFlowControl,
                      QString *error) = 0;
    virtual void close() = 0;
    virtual void write(const QByteArray &bytes) = 0;
    virtual void setDrainTimeout(int milliseconds) = 0;
    virtual void setErrorCountReader(ErrorCountReader reader) = 0;
};

// The port of this platform, reporting through line's signals.
std::unique_ptr<SerialLine::Port> makeSerialLinePort(SerialLine &line);

} // namespace telmaris
