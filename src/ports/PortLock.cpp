#include "ports/PortLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/file.h>
#include <unistd.h>
#endif

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
#ifdef Q_OS_UNIX
    if (pid <= 0 || pid == static_cast<qint64>(::getpid()))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return false;
#endif
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

std::optional<qint64> readLockFilePid(const QByteArray &content) {
    const QByteArray firstLine = content.left(content.indexOf('\n')).trimmed();
    bool ok = false;
    const qint64 pid = firstLine.toLongLong(&ok);
    if (ok)
        return pid;
    if (content.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary;
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
            const auto pid = readLockFilePid(file.read(64));
            if (pid && processLives(*pid))
                return ForeignLock{file.fileName(), *pid};
        }
    }
    return std::nullopt;
}

bool takeExclusiveFlock(int handle) {
#ifndef Q_OS_UNIX
    Q_UNUSED(handle);
    return true;
#else
    int result = 0;
    do {
        result = ::flock(handle, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    // Devices whose file system knows no flock cannot be held by anyone else this way either.
    return result == 0 || errno != EWOULDBLOCK;
#endif
}

} // namespace telmaris
