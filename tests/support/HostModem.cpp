#include "HostModem.h"

#include "SimulatorLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <stdexcept>
#include <windows.h>

namespace telmaris::test {

namespace {

// QtTest says only "unhandled exception": the reason goes to the test's output first.
[[noreturn]] void cannot(const QString &what) {
    qWarning("HostModem: %s", qPrintable(what));
    throw std::runtime_error(what.toStdString());
}

// The link that the test prefix's registry names as COM 1.
const QString HostComLink = QStringLiteral(TELMARIS_WINE_PORTS "/COM1");

// The host's path of a Windows path, as Wine maps it.
QString hostPath(const QString &path) {
    using ToUnix = char *(CDECL *)(const wchar_t *);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!toUnix)
        cannot(QStringLiteral("not under Wine: no host to start the modem simulator on"));
    const QString native = QDir::toNativeSeparators(path);
    char *mapped = toUnix(reinterpret_cast<const wchar_t *>(native.utf16()));
    if (!mapped)
        cannot(QStringLiteral("no host path for ") + path);
    const QString result = QString::fromUtf8(mapped);
    HeapFree(GetProcessHeap(), 0, mapped);
    return result;
}

// Starts a native program (a path on the host); Wine reports neither its end nor its status.
void startOnHost(const QString &program, const QStringList &arguments) {
    if (!QProcess::startDetached(QStringLiteral("Z:") + program, arguments))
        cannot(QStringLiteral("cannot start ") + program);
}

} // namespace

HostModem::HostModem(const QString &folder, const QStringList &options) : folder_(folder) {
    // The shell notes its process number and becomes the simulator, which prints its device
    // once the link is made. Its output goes to a file: a pipe of the test's would keep CTest
    // waiting for as long as the simulator lives. A simulator left behind by a test that
    // crashed ends after five minutes.
    const QString pidFile = folder + QStringLiteral("/modem.pid");
    const QString outputFile = folder + QStringLiteral("/modem.out");
    startOnHost(QStringLiteral("/bin/sh"),
                QStringList{QStringLiteral("-c"),
                            QStringLiteral("echo $$ >\"$0\"; out=$1; shift; "
                                           "exec timeout 300 \"$@\" >\"$out\" 2>&1"),
                            hostPath(pidFile), hostPath(outputFile),
                            QStringLiteral(TELMARIS_MODEM_SIM), QStringLiteral("--link"),
                            HostComLink, QStringLiteral("--log"),
                            hostPath(folder + QStringLiteral("/modem.log"))} +
                    options);
    QFile output(outputFile);
    if (!QTest::qWaitFor([&] { return output.size() > 0; }, 10000))
        cannot(QStringLiteral("the modem simulator did not start"));
    if (!output.open(QIODevice::ReadOnly) || !output.readAll().startsWith("/dev/"))
        cannot(QStringLiteral("the modem simulator says: ") + QString::fromUtf8(output.readAll()));
    QFile file(pidFile);
    if (file.open(QIODevice::ReadOnly))
        pid_ = QString::fromLatin1(file.readAll().trimmed());
}

void HostModem::stop() {
    if (pid_.isEmpty())
        return;
    const QString pid = std::exchange(pid_, QString());
    startOnHost(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("kill \"$0\""), pid});
    // Wine shows no device behind the link, but the host's process list.
    const QString process = QStringLiteral("Z:/proc/") + pid;
    (void)QTest::qWaitFor([&] { return !QFileInfo::exists(process); }, 10000);
}

QList<QByteArray> HostModem::commands() const {
    return simulatorCommands(folder_ + QStringLiteral("/modem.log"));
}

} // namespace telmaris::test
