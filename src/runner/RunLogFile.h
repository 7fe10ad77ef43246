#pragma once
// The file of the run log. Each append is one write() to a file opened for appending, so two
// copies of the program writing at the same time never mix half lines. The file is created
// readable only by its user (answers to EINGABE can be codes). Once it has passed its size
// limit it is renamed to a single older copy (name + ".1") and a new one is started; a lock on
// the file decides which copy renames it, so the older copy is never replaced by a new, short
// one.

#include <QByteArray>
#include <QString>

namespace telmaris {

// Where the user's state files belong when XDG_STATE_HOME names no folder: ~/.local/state on
// Unix, the user's local application data folder (AppData\Local) on Windows.
QString defaultStateFolder();

class RunLogFile {
public:
    static constexpr qint64 DefaultLimit = 1000 * 1000; // bytes

    explicit RunLogFile(QString path, qint64 limit = DefaultLimit);
    ~RunLogFile();
    RunLogFile(const RunLogFile &) = delete;
    RunLogFile &operator=(const RunLogFile &) = delete;

    const QString &path() const { return path_; }
    QString olderCopyPath() const { return path_ + QStringLiteral(".1"); }

    // Creates the folder (readable only by its user) and the file as needed. On failure, error
    // tells why, naming the folder or the file.
    bool open(QString *error);
    void close();

    // Appends text (whole lines) with one write, after renaming a full file. On failure (also
    // when a full file cannot be renamed) the file is closed, nothing is written, and error
    // tells why.
    bool append(const QByteArray &text, QString *error);

private:
    // Each platform's own: renames a full file (and closes it), writes text in one write.
    bool rotateWhenFull(QString *error);
    bool writeAll(const QByteArray &text, QString *error);

    QString path_;
    qint64 limit_;
    int fd_ = -1;
};

} // namespace telmaris
