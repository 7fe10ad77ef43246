#include "ModemSimulator.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace telmaris::modemsim {

namespace {

// A command line longer than this is cut; the modem answers it with ERROR.
constexpr qsizetype MaxLineLength = 4096;

QString systemError(const char *what) {
    return QStringLiteral("%1: %2").arg(QLatin1StringView(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

ModemProfile profileOf(const ModemOptions &options) {
    return ModemProfile{options.echo, !options.numeric};
}

} // namespace

ModemSimulator::ModemSimulator(ModemOptions options, QObject *parent)
    : QObject(parent), options_(std::move(options)), interpreter_(profileOf(options_)) {
    interpreter_.setLineFeedOnly(options_.lfOnly);
}

ModemSimulator::~ModemSimulator() {
    closeMaster();
    removeLink();
}

bool ModemSimulator::start() {
    if (master_ >= 0)
        return true;
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0) {
        error_ = systemError("posix_openpt");
        return false;
    }
    const char *name = grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master) : nullptr;
    if (name == nullptr) {
        error_ = systemError("grantpt/unlockpt");
        ::close(master);
        return false;
    }
    const QString path = QString::fromLocal8Bit(name);
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error_ = systemError("open pty slave");
        ::close(master);
        return false;
    }
    // Raw line: no echo by the terminal driver, no CR/LF translation, every byte passes.
    termios settings{};
    if (tcgetattr(slave, &settings) != 0) {
        error_ = systemError("tcgetattr");
        ::close(slave);
        ::close(master);
        return false;
    }
    cfmakeraw(&settings);
    if (tcsetattr(slave, TCSANOW, &settings) != 0) {
        error_ = systemError("tcsetattr");
        ::close(slave);
        ::close(master);
        return false;
    }
    master_ = master;
    slave_ = slave;
    slavePath_ = path;
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &ModemSimulator::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &ModemSimulator::onWritable);
    return true;
}

bool ModemSimulator::createLink(const QString &path) {
    if (slavePath_.isEmpty()) {
        error_ = QStringLiteral("the modem has no device yet");
        return false;
    }
    const QByteArray target = QFile::encodeName(slavePath_);
    const QByteArray link = QFile::encodeName(path);
    if (linkPath_ != path)
        removeLink();
    // Replace an older link, never a real file.
    if (QFileInfo(path).isSymLink())
        ::unlink(link.constData());
    if (::symlink(target.constData(), link.constData()) != 0) {
        error_ = systemError("symlink");
        return false;
    }
    linkPath_ = path;
    return true;
}

bool ModemSimulator::setLogFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::Append)) {
        error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    logPath_ = path;
    return true;
}

void ModemSimulator::setEcho(bool on) {
    options_.echo = on;
    interpreter_.setProfile(profileOf(options_));
}

void ModemSimulator::setNumeric(bool on) {
    options_.numeric = on;
    interpreter_.setProfile(profileOf(options_));
}

void ModemSimulator::setLfOnly(bool on) {
    options_.lfOnly = on;
    interpreter_.setLineFeedOnly(on);
}

QList<QByteArray> ModemSimulator::commandTexts() const {
    QList<QByteArray> texts;
    texts.reserve(commands_.size());
    for (const ReceivedCommand &command : commands_)
        texts.append(command.text);
    return texts;
}

void ModemSimulator::sendRaw(const QByteArray &bytes) {
    output_ += bytes;
    flushOutput();
}

void ModemSimulator::dropLine() {
    if (master_ < 0)
        return;
    closeMaster();
    removeLink();
    emit lineDropped();
}

void ModemSimulator::onReadable() {
    char buffer[1024];
    for (;;) {
        const ssize_t count = ::read(master_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                readNotifier_->setEnabled(false); // the line is broken; do not spin on it
            return;
        }
        const QByteArray bytes(buffer, count);
        received_ += bytes;
        for (char c : bytes) {
            if (interpreter_.echo() && !options_.silent)
                output_ += c;
            if (c != '\r') {
                if (line_.size() < MaxLineLength)
                    line_ += c;
                else
                    lineOverflow_ = true;
                continue;
            }
            flushOutput();
            const QByteArray line = line_;
            line_.clear();
            handleCommand(line);
            if (master_ < 0)
                return; // the line went away while handling the command
        }
        flushOutput();
    }
}

void ModemSimulator::handleCommand(const QByteArray &line) {
    const QDateTime now = QDateTime::currentDateTime();
    commands_.append({line, now});
    if (!logPath_.isEmpty()) {
        QFile log(logPath_);
        if (log.open(QIODevice::Append))
            log.write(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1() + ' ' +
                      line + '\n');
    }
    emit commandReceived(line);
    if (options_.dropAfter > 0 && commands_.size() >= options_.dropAfter) {
        dropLine();
        return;
    }

    HayesReply reply = interpreter_.interpret(line);
    if (reply.result == ResultCode::None)
        return;
    if (lineOverflow_ ||
        (!options_.errorOn.isEmpty() && line.toUpper().contains(options_.errorOn.toUpper()))) {
        reply.result = ResultCode::Error; // a refused command says nothing else
        reply.information.clear();
    } else if (reply.dialled && reply.result == ResultCode::Ok) {
        reply.result = options_.busy ? ResultCode::Busy : options_.dialResult;
    }
    lineOverflow_ = false;
    if (options_.silent)
        return;
    QByteArray bytes = interpreter_.format(reply);
    // The extra line goes out only behind a result code actually sent (not in quiet mode), and
    // in the same chunk, so the program reads both at once.
    if (!options_.unsolicited.isEmpty() && reply.result != ResultCode::None &&
        !interpreter_.quiet())
        bytes += interpreter_.formatLine(options_.unsolicited);
    answer(bytes);
}

void ModemSimulator::answer(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return;
    if (options_.answerDelayMs <= 0) {
        output_ += bytes;
        flushOutput();
        return;
    }
    QTimer::singleShot(options_.answerDelayMs, Qt::PreciseTimer, this, [this, bytes] {
        output_ += bytes;
        flushOutput();
    });
}

void ModemSimulator::onWritable() {
    flushOutput();
}

void ModemSimulator::flushOutput() {
    if (master_ < 0) {
        output_.clear();
        return;
    }
    while (!output_.isEmpty()) {
        const ssize_t written = ::write(master_, output_.constData(), size_t(output_.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        output_.remove(0, written);
    }
    writeNotifier_->setEnabled(!output_.isEmpty());
}

void ModemSimulator::closeMaster() {
    if (master_ < 0)
        return;
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    // The master goes first: that hangs up the line for the program holding the slave.
    ::close(master_);
    master_ = -1;
    ::close(slave_);
    slave_ = -1;
    output_.clear();
}

void ModemSimulator::removeLink() {
    if (linkPath_.isEmpty())
        return;
    if (QFileInfo(linkPath_).isSymLink() && QFile::symLinkTarget(linkPath_) == slavePath_)
        QFile::remove(linkPath_);
    linkPath_.clear();
}

} // namespace telmaris::modemsim
