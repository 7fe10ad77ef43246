#pragma once
// The run log: every run, from the window or in AutoMode, appends what happened to one file of
// the user, each line with the date, the time to the millisecond and the process number:
// how the run was started, each command as sent and each answer line as received, notices
// and inputs with their answers, lines that will be skipped, and how the run ended. Writing it
// never stops a run: the first failure is kept to be reported once, and the run goes on.

#include "runner/RunLogFile.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <optional>

namespace telmaris {

class RunLog {
public:
    // The log file in the user's state folder: $XDG_STATE_HOME/Telmaris/, or
    // when that is not set (or not an absolute path) ~/.local/state/Telmaris/ on Unix and
    // AppData\Local\Telmaris\ on Windows.
    static QString defaultPath();

    explicit RunLog(QString path = defaultPath(), qint64 limit = RunLogFile::DefaultLimit);

    const QString &path() const { return file_.path(); }

    // How the program was started ("Fenster", "AutoMode", ...), for the header of each run.
    void setStartedAs(const QString &how) { startedAs_ = how; }

    // One run: its header, the lines in between, its end (which closes the file).
    void begin(int skript, const QString &name, int comPort, const QString &device, int baud);
    void sent(const QByteArray &bytes);
    void received(const QString &line);
    void note(const QString &text);
    // status: the status line at the end; message: the box shown, empty when there was none.
    void end(const QString &status, const QString &message);

    // A run refused before anything was sent, with the message the user saw.
    void refused(int skript, const QString &name, const QString &message);

    // The first failure to write since the program started, once: afterwards nothing.
    std::optional<QString> takeFailure();

    // Text in one line: control characters as <CR>, <LF> or <hex>.
    static QString readable(const QString &text);
    // Bytes in one line: printable ASCII as it is, every other byte as <CR>, <LF> or <hex>.
    static QString readable(const QByteArray &bytes);

private:
    void write(const QStringList &lines);
    QString scriptHeader(int skript, const QString &name) const;

    RunLogFile file_;
    QString startedAs_;
    QElapsedTimer clock_;
    QString prefixPid_;
    bool failedThisRun_ = false;
    QString failure_;
    bool failureTaken_ = false;
};

} // namespace telmaris
