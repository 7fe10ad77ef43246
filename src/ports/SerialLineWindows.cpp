// The serial line on Windows. Until the Win32 line is built, no port opens: the line says
// so in words the user can act on, and a run ends as with a port that is not there.

#include "ports/SerialLinePort.h"

namespace telmaris {

namespace {

class UnavailablePort final : public SerialLine::Port {
public:
    explicit UnavailablePort(SerialLine &line) : line_(line) {}

    bool open(const QString &device, int, bool, QString *error) override {
        if (error)
            *error =
                QStringLiteral("%1 lässt sich nicht öffnen: Diese Windows-Ausgabe von Telmaris "
                               "kann noch keine serielle Schnittstelle benutzen.")
                    .arg(device);
        return false;
    }
    void close() override {}
    void write(const QByteArray &) override { emit line_.errorEvent(LineError::Gone); }
    void setDrainTimeout(int) override {}
    void setErrorCountReader(ErrorCountReader) override {}

private:
    SerialLine &line_;
};

} // namespace

std::unique_ptr<SerialLine::Port> makeSerialLinePort(SerialLine &line) {
    return std::make_unique<UnavailablePort>(line);
}

} // namespace telmaris
