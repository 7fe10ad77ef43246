#pragma once
// What the benchmarks of the whole program share: the modem simulator program started as its
// own process, settings files for a program folder, boxes that answer nothing, and the
// process's CPU time.

#include "common/Dialogs.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <cstdlib>
#include <optional>
#include <sys/resource.h>

namespace telmaris::bench {

// User plus system time of this process so far, in milliseconds.
inline double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// [Ports] with COM 1 on device and COM 2 to 4 on names that do not exist.
inline QByteArray portsSection(const QString &device, const QString &folder) {
    QByteArray ports = "[Ports]\nCOM1=" + device.toUtf8() + "\n";
    for (int n = 2; n <= 4; ++n)
        ports += "COM" + QByteArray::number(n) + "=" + folder.toUtf8() + "/no-port\n";
    return ports;
}

// The full settings file: 100 named slots, each holding a 30,000-character script (3.0 MB),
// slot 50 current.
inline QByteArray fullData() {
    QByteArray data = "[Data]\nComPort=1\nCurrSkript=50\n";
    for (int n = 1; n <= 100; ++n)
        data += "SkriptName" + QByteArray::number(n) + "=Anlage " + QByteArray::number(n) + "\n";
    QByteArray script;
    while (script.size() < 30000)
        script += "MODEM ATX3\\N\\LW\xC3\x84HLE **7" + QByteArray::number(script.size()) +
                  "#\\N\\LPAUSE 2\\N\\L";
    script.truncate(30000);
    for (int n = 1; n <= 100; ++n)
        data += "SkriptText" + QByteArray::number(n) + "=" + script + "\n";
    return data;
}

// The program telmaris-modem-sim as a process of its own, its device linked at linkPath.
class SimulatorProcess {
public:
    explicit SimulatorProcess(const QString &linkPath, const QStringList &options = {})
        : linkPath_(linkPath) {
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(QStringLiteral(TELMARIS_MODEM_SIM),
                       QStringList{QStringLiteral("--link"), linkPath} + options);
        // It prints its device once the link is there.
        if (!process_.waitForStarted() || !process_.waitForReadyRead(10000) ||
            !QFile::exists(linkPath)) {
            QTextStream(stderr) << "the modem simulator did not start" << Qt::endl;
            std::exit(1);
        }
    }
    ~SimulatorProcess() {
        process_.terminate();
        process_.waitForFinished();
    }
    const QString &linkPath() const { return linkPath_; }

private:
    QString linkPath_;
    QProcess process_;
};

class SilentDialogs : public Dialogs {
public:
    void showMessage(MessageIcon, const QString &, const QString &text) override {
        if (!text.startsWith(QStringLiteral("Fertig!")))
            QTextStream(stderr) << "message: " << text << Qt::endl;
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
};

} // namespace telmaris::bench
