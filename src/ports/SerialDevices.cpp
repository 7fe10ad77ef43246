#include "ports/SerialDevices.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <future>
#include <memory>

namespace telmaris {

namespace {

QString canonical(const QString &path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

int kindRank(const SerialDevice &device) {
    const QString node = QFileInfo(device.path).fileName();
    if (node.startsWith(QLatin1String("ttyACM")))
        return 0;
    if (node.startsWith(QLatin1String("ttyUSB")))
        return 1;
    return 2;
}

} // namespace

bool SerialDevice::isNamed(const QString &name) const {
    if (name.isEmpty())
        return false;
    if (name == path || name == stableName)
        return true;
    return canonical(name) == canonical(path);
}

QString stableNameOf(const QString &path, const QString &folder) {
    const QString target = canonical(path);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() && entry.canonicalFilePath() == target)
            return entry.absoluteFilePath();
    }
    return {};
}

void sortForComNumbers(SerialDevices &devices) {
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice &a, const SerialDevice &b) {
                         const int rankA = kindRank(a);
                         const int rankB = kindRank(b);
                         if (rankA != rankB)
                             return rankA < rankB;
                         return a.name() < b.name();
                     });
}

int comNumber(const QString &name) {
    if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int number = name.mid(3).toInt(&ok);
    return ok && number > 0 ? number : 0;
}

SerialDevices orderForComNumbers(SerialDevices modems, const SerialDevices &ports) {
    const auto byNumber = [](const SerialDevice &a, const SerialDevice &b) {
        return comNumber(a.path) < comNumber(b.path);
    };
    std::stable_sort(modems.begin(), modems.end(), byNumber);
    SerialDevices others;
    for (const SerialDevice &port : ports) {
        const bool isModem = std::any_of(modems.begin(), modems.end(), [&](const SerialDevice &m) {
            return m.path == port.path;
        });
        if (!isModem)
            others.append(port);
    }
    std::stable_sort(others.begin(), others.end(), byNumber);
    return modems + others;
}

DeviceDetector detectSerialDevicesAhead() {
    auto early = std::make_shared<std::future<SerialDevices>>(
        std::async(std::launch::async, detectSerialDevices));
    return [early] { return early->valid() ? early->get() : detectSerialDevices(); };
}

} // namespace telmaris
