#pragma once
// The modem simulator for a Windows test under Wine: the native simulator program, started
// beside Wine (Wine hands a Unix program to the host), makes the link that the test prefix
// names as COM 1 point to its pseudo-terminal. Wine gives no handle to such a process, so a
// shell started with it notes its process number, and kill stops it.

#include <QList>
#include <QString>
#include <QStringList>

namespace telmaris::test {

class HostModem {
public:
    // Starts the simulator with the options and waits until COM 1 leads to it; its commands
    // go to a log in folder (a path on drive Z:, the host's root). Throws when it does not
    // start.
    HostModem(const QString &folder, const QStringList &options = {});
    ~HostModem() { stop(); }
    HostModem(const HostModem &) = delete;
    HostModem &operator=(const HostModem &) = delete;

    // Ends the simulator as SIGTERM does, and waits until its link is gone.
    void stop();
    // The commands received so far, each without its CR.
    QList<QByteArray> commands() const;

private:
    QString folder_;
    QString pid_;
};

} // namespace telmaris::test
