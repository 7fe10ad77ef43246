// The run log's file on Unix: one write() per append to a file opened O_APPEND, and flock to
// decide which copy renames a full file.

#include "runner/RunLogFile.h"

#include "common/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace telmaris {

namespace {

QString systemReason(const QString &path, int error) {
    return path + QStringLiteral(": ") + qt_error_string(error);
}

} // namespace

QString defaultStateFolder() {
    return QDir::homePath() + QStringLiteral("/.local/state");
}

bool RunLogFile::open(QString *error) {
    if (fd_ >= 0)
        return true;
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        // The parents as the user's other folders are made; the log's own folder private. A
        // copy started at the same moment may have made it meanwhile.
        const QString parent = QFileInfo(folder).absolutePath();
        const auto makeFolder = [&folder] {
            return ::mkdir(QFile::encodeName(folder).constData(), 0700) == 0 ||
                   (errno == EEXIST && QFileInfo(folder).isDir());
        };
        if (!QDir().mkpath(parent) || !makeFolder()) {
            *error = texts::FolderNotCreatedReason.arg(folder);
            return false;
        }
    }
    fd_ = ::open(QFile::encodeName(path_).constData(),
                 O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd_ < 0) {
        *error = systemReason(path_, errno);
        return false;
    }
    return true;
}

void RunLogFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool RunLogFile::writeAll(const QByteArray &text, QString *error) {
    ssize_t written = -1;
    do
        written = ::write(fd_, text.constData(), size_t(text.size()));
    while (written < 0 && errno == EINTR);
    if (written == text.size())
        return true;
    // A short write to a file means the disc is full.
    *error = systemReason(path_, written < 0 ? errno : ENOSPC);
    return false;
}

// Checked before each write. A copy that finds the file locked leaves it to the copy that
// holds the lock and looks again at its next line; a copy that finds its file renamed
// already (the name stands for another file now, or for none) only opens the new one. A full
// file that cannot be renamed is a failure: writing on would let it grow without limit.
bool RunLogFile::rotateWhenFull(QString *error) {
    struct stat own = {};
    if (::fstat(fd_, &own) != 0 || own.st_size < limit_)
        return true;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return true;
    const QByteArray name = QFile::encodeName(path_);
    struct stat named = {};
    bool renamed = true;
    if (::stat(name.constData(), &named) == 0 && named.st_dev == own.st_dev &&
        named.st_ino == own.st_ino &&
        ::rename(name.constData(), QFile::encodeName(olderCopyPath()).constData()) != 0) {
        *error = systemReason(olderCopyPath(), errno);
        renamed = false;
    }
    ::flock(fd_, LOCK_UN);
    close(); // the next append opens the file that now has the name
    return renamed;
}

} // namespace telmaris
