// Why a device does not open on Linux and other Unix systems: the device node, its rights and
// group, lock files, the processes that hold it (from /proc) and ModemManager.

#include "ports/PortDiagnosis.h"

#include "ports/PortDiagnosisTexts.h"
#include "ports/PortLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace telmaris {

using namespace port_texts;

namespace {

QString noHardware(const QString &device) {
    return QStringLiteral("Hinter %1 steckt keine Schnittstelle: Der Rechner hat dort keinen "
                          "seriellen Anschluss, oder das Gerät wurde ausgesteckt. Ein USB-Modem "
                          "weisen Sie auf der Optionsseite einer Schnittstelle zu.")
        .arg(device);
}

QString processName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

// The processes other than this one that have device open, as far as /proc lets us look.
QList<qint64> processesHolding(const QString &device) {
    QList<qint64> holders;
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return holders;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (!isNumber || pid == static_cast<qint64>(::getpid()))
            continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        const QStringList links = fds.entryList(QDir::System | QDir::NoDotAndDotDot);
        for (const QString &link : links) {
            if (QFile::symLinkTarget(fds.filePath(link)) == target) {
                holders.append(pid);
                break;
            }
        }
    }
    return holders;
}

bool modemManagerRuns() {
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber && processName(pid) == QLatin1String("ModemManager"))
            return true;
    }
    return false;
}

QString heldByOthers(const QString &device, const QList<qint64> &holders) {
    QStringList named;
    for (const qint64 pid : holders) {
        const QString name = processName(pid);
        named << (name.isEmpty() ? QStringLiteral("Prozess %1").arg(pid)
                                 : QStringLiteral("„%1“ (Prozess %2)").arg(name).arg(pid));
    }
    QString text = named.isEmpty() ? heldByAnother(device)
                                   : QStringLiteral("Das Gerät %1 ist belegt: %2 hält es.")
                                         .arg(device, named.join(QStringLiteral(", ")));
    text += leaveOrChoose();
    if (modemManagerRuns()) {
        text += QStringLiteral(
            " ModemManager läuft: Er prüft ein frisch eingestecktes Modem etwa zehn Sekunden "
            "lang; danach erneut versuchen. Lässt er das Modem nicht los, hält ihn eine "
            "udev-Regel mit „ENV{ID_MM_DEVICE_IGNORE}=\"1\"“ von diesem Gerät fern, oder "
            "„sudo systemctl disable --now ModemManager“ schaltet ihn dauerhaft ab.");
    }
    return text;
}

QString groupName(gid_t gid) {
    if (const group *entry = ::getgrgid(gid))
        return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(gid);
}

bool processHasGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[static_cast<size_t>(i)] == gid)
            return true;
    }
    return false;
}

// Whether the user database makes user a member of gid (true also when the running session
// does not have it yet).
bool userListedInGroup(const passwd &user, gid_t gid) {
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (::getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<size_t>(count));
        if (::getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) < 0)
            return false;
    }
    for (int i = 0; i < count; ++i) {
        if (groups[static_cast<size_t>(i)] == gid)
            return true;
    }
    return false;
}

// What the system tells of the device behind info and of the user.
DeviceAccess deviceAccess(const QString &device, const struct stat &info) {
    DeviceAccess access;
    access.device = device;
    access.mode = info.st_mode & 07777;
    access.group = groupName(info.st_gid);
    access.inGroupNow = processHasGroup(info.st_gid);
    // getpwuid's answer lives until its next call: the user is read out first.
    const passwd *user = ::getpwuid(::geteuid());
    access.user = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
    access.listedInGroup = user && userListedInGroup(*user, info.st_gid);
    const passwd *owner = ::getpwuid(info.st_uid);
    access.owner = owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(info.st_uid);
    return access;
}

QString noPermission(const QString &device) {
    struct stat info = {};
    if (::stat(QFile::encodeName(device).constData(), &info) != 0)
        return notThere(device);
    return permissionReason(deviceAccess(device, info));
}

} // namespace

QString groupRemedy(const QString &device) {
    const QByteArray path = QFile::encodeName(device);
    struct stat info = {};
    // Only a device the user may not open for want of its group; joining it helps nobody else.
    if (::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES ||
        ::stat(path.constData(), &info) != 0)
        return {};
    return groupRemedy(deviceAccess(device, info));
}

QString diagnosePort(const QString &device, const QString &systemText) {
    if (device.isEmpty())
        return noDeviceNamed();
    if (const auto lock = findForeignLockFile(device)) {
        return heldByOthers(device, {lock->pid}) +
               QStringLiteral(" (Sperrdatei %1)").arg(lock->lockFile);
    }
    if (!QFileInfo::exists(device))
        return notThere(device);
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        switch (error) {
        case EACCES:
        case EPERM:
            return noPermission(device);
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return notThere(device);
        case EIO:
            return noHardware(device);
        case EBUSY:
            return heldByOthers(device, processesHolding(device));
        default:
            return otherReason(device, systemText.isEmpty()
                                           ? QString::fromLocal8Bit(std::strerror(error))
                                           : systemText);
        }
    }
    const bool free = takeExclusiveFlock(fd);
    ::close(fd);
    if (!free)
        return heldByOthers(device, processesHolding(device));
    return otherReason(device, systemText);
}

} // namespace telmaris
