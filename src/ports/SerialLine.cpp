// What every platform's line shares: the line hands each request to its platform's port.

#include "ports/SerialLine.h"

#include "ports/SerialLinePort.h"

namespace telmaris {

SerialLine::SerialLine(QObject *parent) : QObject(parent), port_(makeSerialLinePort(*this)) {}

SerialLine::~SerialLine() {
    port_->close();
}

bool SerialLine::open(const QString &device, int baud, bool hardwareFlowControl, QString *error) {
    return port_->open(device, baud, hardwareFlowControl, error);
}

void SerialLine::close() {
    port_->close();
}

void SerialLine::write(const QByteArray &bytes) {
    port_->write(bytes);
}

void SerialLine::setDrainTimeout(int milliseconds) {
    port_->setDrainTimeout(milliseconds);
}

void SerialLine::setErrorCountReader(ErrorCountReader reader) {
    port_->setErrorCountReader(std::move(reader));
}

} // namespace telmaris
