#include "ports/PortLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <cstring>

#include <csignal>
#include <sys/file.h>
#include <unistd.h>

namespace telmaris {

namespace {

QString qtStyleName(const QString &path) {
    QString name = path;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(u'/', u'_');
    return name;
}

bool processLives(qint64 pid) {
    if (pid <= 0 || pid == static_cast<qint64>(::getpid()))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The file name of the program a process runs; empty when the system does not tell (another
// user's process, a kernel thread), and then the lock is believed.
QString programOf(qint64 pid) {
    const QString target = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return QFileInfo(target).fileName();
}

bool ownerHoldsIt(const LockFileContent &lock) {
    if (!processLives(lock.pid))
        return false;
    if (lock.program.isEmpty() ||
        (!lock.host.isEmpty() && lock.host != QSysInfo::machineHostName()))
        return true;
    const QString running = programOf(lock.pid);
    return running.isEmpty() || running == QFileInfo(lock.program).fileName();
}

} // namespace

const QStringList &lockFolders() {
    static const QStringList folders{QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
                                     QStringLiteral("/var/spool/locks"), QStringLiteral("/tmp")};
    return folders;
}

QStringList lockFileNames(const QString &device) {
    QStringList names;
    const auto add = [&names](const QString &name) {
        const QString file = QStringLiteral("LCK..") + name;
        if (!name.isEmpty() && !names.contains(file))
            names.append(file);
    };
    add(QFileInfo(device).fileName());
    add(qtStyleName(device));
    const QString target = QFileInfo(device).canonicalFilePath();
    if (!target.isEmpty() && target != device)
        add(qtStyleName(target));
    return names;
}

std::optional<LockFileContent> readLockFile(const QByteArray &content) {
    // Some terminal programs put their name and user behind the number on the first line.
    const QList<QByteArray> lines = content.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).simplified().split(' ').value(0).toLongLong(&ok);
    if (ok)
        return LockFileContent{pid, QString::fromUtf8(lines.value(1).trimmed()),
                               QString::fromUtf8(lines.value(2).trimmed())};
    if (content.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return LockFileContent{binary, {}, {}};
    }
    return std::nullopt;
}

std::optional<ForeignLock> findForeignLockFile(const QString &device) {
    const QStringList names = lockFileNames(device);
    for (const QString &folder : lockFolders()) {
        for (const QString &name : names) {
            QFile file(QDir(folder).filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const auto lock = readLockFile(file.read(4096));
            if (lock && ownerHoldsIt(*lock))
                return ForeignLock{file.fileName(), lock->pid};
        }
    }
    return std::nullopt;
}

bool takeExclusiveFlock(int handle) {
    int result = 0;
    do {
        result = ::flock(handle, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    // Devices whose file system knows no flock cannot be held by anyone else this way either.
    return result == 0 || errno != EWOULDBLOCK;
}

} // namespace telmaris
