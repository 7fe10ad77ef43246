// A file's stamp on Unix: from stat(), with nanosecond times.

#include "store/IniFile.h"

#include <QFile>

#include <sys/stat.h>

namespace telmaris {

std::optional<FileStamp> fileStampOf(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    constexpr qint64 nsPerSecond = 1'000'000'000;
    FileStamp stamp;
    stamp.device = quint64(info.st_dev);
    stamp.inode = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * nsPerSecond + info.st_mtim.tv_nsec;
    stamp.changedNs = qint64(info.st_ctim.tv_sec) * nsPerSecond + info.st_ctim.tv_nsec;
    return stamp;
}

} // namespace telmaris
