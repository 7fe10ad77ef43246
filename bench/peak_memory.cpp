// The peak memory of the program itself: the real telmaris, copied into a program folder as a
// user installs it, run as a child process in AutoMode without a display against the modem
// simulator program, once with an empty settings file and once with the full one (100 named slots ×
// 30,000-character scripts, 3.0 MB). The figure is the child's peak resident set as the
// operating system accounts it (ru_maxrss from wait4). Prints "name value unit" lines.
//
// With the empty file the run of slot 1 (empty) succeeds; with the full file slot 1 holds a
// 30,000-character script whose first line the simulator answers with ERROR, so the run ends
// there after start-up, the loaded script, port, reset, initialisation and one line.

#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

using namespace telmaris;

namespace {

constexpr int Rounds = 3;

// The peak resident set of one run of the program in folder, in megabytes; 0 on failure.
double peakResidentMb(const QString &folder) {
    const QByteArray program = QFile::encodeName(folder + QStringLiteral("/telmaris"));
    char argument[] = "1";
    char *argv[] = {const_cast<char *>(program.constData()), argument, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return 0;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return 0;
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// A program folder: a copy of the program and its settings file.
bool install(const QTemporaryDir &folder, const QByteArray &data, const QString &modem) {
    return QFile::copy(QStringLiteral(TELMARIS_EXE), folder.filePath(QStringLiteral("telmaris"))) &&
           bench::writeFile(folder.filePath(QStringLiteral("Telmaris.Ini")),
                            data + bench::portsSection(modem, folder.path()));
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // The child runs as a scheduled job would, without a display: offscreen, and the error box
    // of the full run is a line on standard error instead of a box that waits.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        qunsetenv(name);
    QTemporaryDir modemFolder;
    const bench::SimulatorProcess modem(modemFolder.filePath(QStringLiteral("modem")),
                                        {QStringLiteral("--error-on"), QStringLiteral("ATX3")});
    QTemporaryDir emptyFolder;
    QTemporaryDir fullFolder;
    if (!install(emptyFolder, QByteArray(), modem.linkPath()) ||
        !install(fullFolder, bench::fullData(), modem.linkPath()))
        return 1;
    QList<double> empty, full;
    for (int i = 0; i < Rounds; ++i) { // alternated, like the start-up figures
        empty << peakResidentMb(emptyFolder.path());
        full << peakResidentMb(fullFolder.path());
    }
    const double emptyMb = median(empty);
    const double fullMb = median(full);
    std::printf("peak_resident_empty %.1f MB\n", emptyMb);
    std::printf("peak_resident_full %.1f MB\n", fullMb);
    std::printf("peak_resident_full_to_empty %.3f ratio\n", emptyMb > 0 ? fullMb / emptyMb : 0);
    return emptyMb > 0 && fullMb > 0 ? 0 : 1;
}
