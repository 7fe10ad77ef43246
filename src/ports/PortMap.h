#pragma once
// COM 1..4 to device names. Section [Ports] of the settings file, keys COM1..COM4; defaults
// /dev/ttyS0../dev/ttyS3 on Linux and COM1..COM4 on Windows.

#include <QString>
#include <array>

namespace telmaris {

class IniSnapshot;

class PortMap {
public:
    PortMap(); // the platform defaults
    static PortMap fromIni(const IniSnapshot &ini);
    QString device(int comPort) const; // comPort 1..4
    void setDevice(int comPort, const QString &device);

private:
    std::array<QString, 4> devices_;
};

struct PortProbe {
    std::array<bool, 4> usable{};   // COM n can be opened
    std::array<QString, 4> reasons; // why not, for those that cannot
    bool anyUsable() const { return usable[0] || usable[1] || usable[2] || usable[3]; }
};

// Opens and closes each of the four ports at 1200 baud 8N1 and notes why a port cannot be
// opened.
PortProbe checkComPorts(const PortMap &ports);

// One line on standard error for each port the probe could not open: the port, its device and
// the reason.
void printUnusablePorts(const PortMap &ports, const PortProbe &probe);

} // namespace telmaris
