// A file's stamp on Windows: the volume and the file index stand for device and inode; the
// times come in units of 100 ns. The file is opened for its attributes only, shared with every
// reader and writer.

#include "store/IniFile.h"

#include <QDir>

#include <windows.h>

namespace telmaris {

std::optional<FileStamp> fileStampOf(const QString &path) {
    const HANDLE file = ::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info = {};
    FILE_BASIC_INFO times = {};
    const bool known = ::GetFileInformationByHandle(file, &info) &&
                       ::GetFileInformationByHandleEx(file, FileBasicInfo, &times, sizeof times);
    ::CloseHandle(file);
    if (!known)
        return std::nullopt;
    constexpr qint64 nsPerTick = 100;
    FileStamp stamp;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    stamp.modifiedNs = times.LastWriteTime.QuadPart * nsPerTick;
    stamp.changedNs = times.ChangeTime.QuadPart * nsPerTick;
    return stamp;
}

} // namespace telmaris
