#pragma once
// Claims of other programs on a serial device, as terminal and dial-up programs make them:
// a LCK..<name> file in a lock folder holding the process id of its owner, and a flock on
// the device.

#include <QString>
#include <QStringList>
#include <optional>

namespace telmaris {

struct ForeignLock {
    QString lockFile;
    qint64 pid = 0;
};

// The lock folders searched, in order.
const QStringList &lockFolders();

// The names a lock file for device may have: "LCK.." + the device's file name, and the name
// Qt's serial port uses (the path without "/dev/", slashes turned into underscores), for the
// path as given and for the device a symbolic link leads to.
QStringList lockFileNames(const QString &device);

// The process id a lock file holds: ASCII digits (padded or followed by more lines), or a
// binary 4-byte number as older programs write it. Nothing when the file holds no id.
std::optional<qint64> readLockFilePid(const QByteArray &content);

// A lock file of a living process other than this one, in any of the lock folders.
std::optional<ForeignLock> findForeignLockFile(const QString &device);

// Takes an exclusive flock on an open device without waiting. False when another open file
// holds it.
bool takeExclusiveFlock(int handle);

} // namespace telmaris
