#pragma once
// Claims of other programs on a serial device, as terminal and dial-up programs make them:
// a LCK..<name> file in a lock folder holding the process id of its owner (Qt's programs add
// the program's name and the host on the next lines), and a flock on the device.

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

struct LockFileContent {
    qint64 pid = 0;
    QString program; // the owner's program file name, when the file names one
    QString host;    // the host the owner runs on, when the file names one
};

// What a lock file holds: the process id as ASCII digits (padded, perhaps followed by the
// program's name and the host on lines of their own), or a binary 4-byte number as older
// programs write it. Nothing when the file holds no id.
std::optional<LockFileContent> readLockFile(const QByteArray &content);

// A lock file whose owner still holds the device, in any of the lock folders. A lock is stale,
// and not returned, when its process is gone, is this process, or when the file names a program
// on this host and another program now runs under that number (the owner crashed and its number
// was reused) – the same rule Qt's own lock follows, so a lock passed over here is taken over
// when the port opens.
std::optional<ForeignLock> findForeignLockFile(const QString &device);

// Takes an exclusive flock on an open device without waiting. False when another open file
// holds it.
bool takeExclusiveFlock(int handle);

} // namespace telmaris
