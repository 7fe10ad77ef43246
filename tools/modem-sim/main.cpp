// telmaris-modem-sim: a Hayes modem on a pseudo-terminal for trying scripts without hardware.
// Runs until SIGTERM or SIGINT and then removes its link.

#include "ModemSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using telmaris::modemsim::ModemOptions;
using telmaris::modemsim::ModemSimulator;
using telmaris::modemsim::ResultCode;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop instead of the process, so the link is removed.
bool quitOnSignals(QCoreApplication &app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

// The result code a --dial-result word names: the verbose word in any letter case, with '_' or
// '-' allowed for its blank. False for anything that is not a dial result.
bool dialResultOf(const QString &word, ResultCode &code) {
    QString normal = word.trimmed().toUpper();
    normal.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    for (ResultCode candidate : {ResultCode::Ok, ResultCode::Busy, ResultCode::NoCarrier,
                                 ResultCode::NoDialtone, ResultCode::NoAnswer}) {
        if (normal == QLatin1StringView(telmaris::modemsim::resultWord(candidate))) {
            code = candidate;
            return true;
        }
    }
    return false;
}

int fail(const QString &message) {
    std::fprintf(stderr, "telmaris-modem-sim: %s\n", qUtf8Printable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("telmaris-modem-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A Hayes modem on a pseudo-terminal. Makes PATH a symbolic link to the device, prints the\n"
        "device on standard output and answers AT commands with verbose result codes until it\n"
        "receives SIGTERM or SIGINT; then it removes the link.\n"
        "Understood: &F Z E V Q M L X H S<n>=<v> S<n>? D DT DP with a dial string;\n"
        "information lines before the OK for I0 to I7 (I alone is I0), &V (the active profile)\n"
        "and +GMI +GMM +GMR (maker, model, version; several in one line separated by\n"
        "semicolons); anything else answers ERROR. &F and Z restore the start settings\n"
        "(--echo, --numeric)."));
    parser.addHelpOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Make PATH a symbolic link to the modem device."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption log(
        QStringLiteral("log"),
        QStringLiteral("Append every received command to FILE, one per line, after a time stamp "
                       "to the millisecond."),
        QStringLiteral("FILE"));
    const QCommandLineOption busy(QStringLiteral("busy"),
                                  QStringLiteral("Answer dial commands with BUSY."));
    const QCommandLineOption dialResult(
        QStringLiteral("dial-result"),
        QStringLiteral("Answer dial commands with WORD instead of OK: OK, BUSY, \"NO CARRIER\", "
                       "\"NO DIALTONE\" or \"NO ANSWER\" (any letter case; _ or - for the "
                       "blank)."),
        QStringLiteral("WORD"));
    const QCommandLineOption errorOn(
        QStringLiteral("error-on"),
        QStringLiteral("Answer ERROR to every command that contains TEXT (any letter case)."),
        QStringLiteral("TEXT"));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Never answer, not even with an echo."));
    const QCommandLineOption echo(QStringLiteral("echo"), QStringLiteral("Start with echo on."));
    const QCommandLineOption numeric(
        QStringLiteral("numeric"),
        QStringLiteral("Start with numeric result codes (0 OK, 3 NO CARRIER, 4 ERROR, "
                       "6 NO DIALTONE, 7 BUSY, 8 NO ANSWER)."));
    const QCommandLineOption dropAfter(
        QStringLiteral("drop-after"),
        QStringLiteral("Close the line on receiving the N-th command, without answering it, as an "
                       "unplugged modem: the device vanishes."),
        QStringLiteral("N"));
    const QCommandLineOption unsolicited(
        QStringLiteral("unsolicited"),
        QStringLiteral("Send the line TEXT right after every result code, in the same write, as a "
                       "modem does with RING when a call comes in."),
        QStringLiteral("TEXT"));
    const QCommandLineOption lfOnly(
        QStringLiteral("lf-only"),
        QStringLiteral("End every line the modem sends with LF alone instead of CR LF, as some "
                       "devices do."));
    parser.addOptions({link, log, busy, dialResult, errorOn, silent, echo, numeric, dropAfter,
                       unsolicited, lfOnly});
    parser.process(app);

    if (!parser.isSet(link))
        return fail(QStringLiteral("--link PATH is required (see --help)"));
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    ModemOptions options;
    options.busy = parser.isSet(busy);
    if (parser.isSet(dialResult)) {
        if (!dialResultOf(parser.value(dialResult), options.dialResult))
            return fail(QStringLiteral("--dial-result: unknown result \"%1\"; use OK, BUSY, "
                                       "\"NO CARRIER\", \"NO DIALTONE\" or \"NO ANSWER\"")
                            .arg(parser.value(dialResult)));
        if (options.busy && options.dialResult != ResultCode::Busy)
            return fail(QStringLiteral("--busy and --dial-result \"%1\" contradict each other")
                            .arg(parser.value(dialResult)));
    }
    options.errorOn = parser.value(errorOn).toUtf8();
    options.silent = parser.isSet(silent);
    options.echo = parser.isSet(echo);
    options.numeric = parser.isSet(numeric);
    options.unsolicited = parser.value(unsolicited).toUtf8();
    options.lfOnly = parser.isSet(lfOnly);
    if (parser.isSet(dropAfter)) {
        bool ok = false;
        options.dropAfter = parser.value(dropAfter).toInt(&ok);
        if (!ok || options.dropAfter < 1)
            return fail(QStringLiteral("--drop-after needs a number of commands of 1 or more"));
    }

    ModemSimulator modem(options);
    if (!quitOnSignals(app))
        return fail(QStringLiteral("cannot catch SIGTERM and SIGINT"));
    if (!modem.start())
        return fail(modem.errorString());
    if (parser.isSet(log) && !modem.setLogFile(parser.value(log)))
        return fail(modem.errorString());
    if (!modem.createLink(parser.value(link)))
        return fail(
            QStringLiteral("cannot link %1: %2").arg(parser.value(link), modem.errorString()));

    std::printf("%s\n", qUtf8Printable(modem.slavePath()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
