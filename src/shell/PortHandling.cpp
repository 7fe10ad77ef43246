#include "shell/PortHandling.h"

#include "options/OptionsPage.h"
#include "ports/PortProber.h"
#include "store/IniFile.h"

namespace telmaris {

PortHandling::PortHandling(OptionsPage &page, QObject *parent)
    : QObject(parent), page_(page), prober_(new PortProber(this)) {
    connect(prober_, &PortProber::finished, this, &PortHandling::take);
    connect(&page_, &OptionsPage::rescanRequested, this, [this] {
        detect();
        probeAgain(Probe::All);
    });
    connect(&page_, &OptionsPage::portDeviceChosen, this, &PortHandling::chooseDevice);
}

void PortHandling::startUp(const IniSnapshot &ini) {
    map_ = PortMap::fromIni(ini);
    detect();
    prober_->probe(map_);
}

void PortHandling::pageShown() {
    detect(); // a modem plugged in meanwhile can be chosen
    probeAgain(Probe::Changed);
}

bool PortHandling::probing() const {
    return prober_->busy();
}

void PortHandling::printUnusable(int port) const {
    printUnusablePorts(map_, probe_, port);
}

void PortHandling::detect() {
    detected_ = detectDevices_();
    map_.fillFrom(detected_);
}

void PortHandling::probeAgain(Probe which) {
    bool changed = which == Probe::All;
    for (int n = 1; n <= 4; ++n)
        changed = changed || probe_.devices[n - 1] != map_.device(n);
    if (!changed) {
        show();
        return;
    }
    prober_->probe(map_, which == Probe::All ? std::nullopt : std::optional<PortProbe>(probe_));
}

void PortHandling::take(const PortProbe &probe) {
    probe_ = probe;
    show();
    Q_EMIT probed();
}

void PortHandling::chooseDevice(int comPort, const QString &device) {
    if (device == map_.device(comPort))
        return;
    map_.setDevice(comPort, device);
    probeAgain(Probe::Changed);
}

void PortHandling::show() {
    std::array<QString, 4> devices;
    for (int i = 0; i < 4; ++i)
        devices[i] = map_.device(i + 1);
    page_.setPorts(probe_, devices, detected_);
}

} // namespace telmaris
