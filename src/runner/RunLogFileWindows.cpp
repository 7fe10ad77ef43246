// The run log's file on Windows: opened for appending only, so each WriteFile lands whole at
// the end; shared for deleting, so that a copy can rename it while another holds it open; a
// byte-range lock decides which copy renames a full file.

#include "runner/RunLogFile.h"

#include "common/UserTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace telmaris {

namespace {

QString systemReason(const QString &path, DWORD error) {
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") +
           qt_error_string(static_cast<int>(error));
}

std::wstring nativePath(const QString &path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// Whether path names the file behind handle (and not a newer one made after a rename).
bool namesSameFile(const QString &path, HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION own = {};
    if (!::GetFileInformationByHandle(handle, &own))
        return false;
    const HANDLE named = ::CreateFileW(nativePath(path).c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION other = {};
    const bool same = ::GetFileInformationByHandle(named, &other) &&
                      other.dwVolumeSerialNumber == own.dwVolumeSerialNumber &&
                      other.nFileIndexHigh == own.nFileIndexHigh &&
                      other.nFileIndexLow == own.nFileIndexLow;
    ::CloseHandle(named);
    return same;
}

} // namespace

QString defaultStateFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool RunLogFile::open(QString *error) {
    if (fd_ >= 0)
        return true;
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = texts::FolderNotCreatedReason.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const HANDLE handle = ::CreateFileW(nativePath(path_).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = systemReason(path_, ::GetLastError());
        return false;
    }
    fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_BINARY);
    if (fd_ < 0) {
        ::CloseHandle(handle);
        *error = systemReason(path_, ERROR_TOO_MANY_OPEN_FILES);
        return false;
    }
    return true;
}

void RunLogFile::close() {
    if (fd_ >= 0)
        ::_close(fd_);
    fd_ = -1;
}

bool RunLogFile::writeAll(const QByteArray &text, QString *error) {
    DWORD written = 0;
    if (::WriteFile(handleOf(fd_), text.constData(), static_cast<DWORD>(text.size()), &written,
                    nullptr) &&
        written == static_cast<DWORD>(text.size()))
        return true;
    const DWORD failure = ::GetLastError();
    *error = systemReason(path_, failure == ERROR_SUCCESS ? ERROR_DISK_FULL : failure);
    return false;
}

// As on Unix: a copy that finds the file locked leaves the rename to the copy that holds the
// lock; a copy whose file was renamed already only opens the new one.
bool RunLogFile::rotateWhenFull(QString *error) {
    const HANDLE handle = handleOf(fd_);
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(handle, &size) || size.QuadPart < limit_)
        return true;
    OVERLAPPED whole = {};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole))
        return true;
    bool renamed = true;
    if (namesSameFile(path_, handle) &&
        !::MoveFileExW(nativePath(path_).c_str(), nativePath(olderCopyPath()).c_str(),
                       MOVEFILE_REPLACE_EXISTING)) {
        *error = systemReason(olderCopyPath(), ::GetLastError());
        renamed = false;
    }
    ::UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &whole);
    close(); // the next append opens the file that now has the name
    return renamed;
}

} // namespace telmaris
