#pragma once
// The requests to stop from outside, delivered on the event loop instead of ending the process
// at once: a run in progress must still hang up, close and unlock its port and log its end.
// On Unix they are the signals SIGTERM (kill, systemd), SIGINT (Ctrl+C) and SIGHUP (a closed
// terminal or ssh session); the handler only writes the signal's number into a pipe. On Windows
// they are the console's control events and the end of the session.

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace telmaris {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; one such object per process.
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // The name the log and the messages give the signal ("SIGTERM", "CTRL_C_EVENT").
    static QString name(int signal);

    // The line of "--help" that says which exit status a run ended by a stop has.
    static QString usageLine();

    // Ends the process as the signal would have without being caught, so that a shell, systemd
    // or the Task Scheduler sees that a stop ended it. Returns only where that is impossible.
    static void endBy(int signal);

Q_SIGNALS:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace telmaris
