#pragma once
// The signals that ask the program to stop (SIGTERM from kill or systemd, SIGINT from Ctrl+C,
// SIGHUP from a closed terminal or ssh session), delivered on the event loop instead of ending
// the process at once: a run in progress must still hang up, close and unlock its port and
// log its end. The handler itself only writes the signal's number into a pipe.

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

    // The name the log and the messages give the signal ("SIGTERM").
    static QString name(int signal);

    // Ends the process as the signal would have without being caught, so that a shell or
    // systemd sees which signal ended it. Returns only where that is impossible.
    static void endBy(int signal);

Q_SIGNALS:
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace telmaris
