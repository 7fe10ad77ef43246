#include "runner/RunLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace telmaris {

namespace {

QString quoted(const QString &text) {
    return QStringLiteral("\u00bb") + text + QStringLiteral("\u00ab");
}

QString controlMark(uint c) {
    if (c == '\r')
        return QStringLiteral("<CR>");
    if (c == '\n')
        return QStringLiteral("<LF>");
    return QStringLiteral("<%1>").arg(c, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString RunLog::defaultPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = defaultStateFolder();
    return QDir::cleanPath(state + QStringLiteral("/Telmaris/Telmaris.log"));
}

RunLog::RunLog(QString path, qint64 limit)
    : file_(std::move(path), limit),
      prefixPid_(QStringLiteral(" [%1] ").arg(QCoreApplication::applicationPid())) {}

QString RunLog::readable(const QString &text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += controlMark(c.unicode());
        else
            result += c;
    }
    return result;
}

QString RunLog::readable(const QByteArray &bytes) {
    QString result;
    result.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = uint(uchar(byte));
        if (c >= 0x20 && c < 0x7f)
            result += QLatin1Char(byte);
        else
            result += controlMark(c);
    }
    return result;
}

void RunLog::write(const QStringList &lines) {
    if (failedThisRun_)
        return; // a run whose log failed writes no more of it; the next run tries again
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
        prefixPid_;
    QString text;
    for (const QString &line : lines)
        text += stamp + line + u'\n';
    QString error;
    if (file_.append(text.toUtf8(), &error))
        return;
    failedThisRun_ = true;
    if (failure_.isEmpty())
        failure_ = error;
}

QString RunLog::scriptHeader(int skript, const QString &name) const {
    QString header = QStringLiteral("Start: Skript %1").arg(skript);
    if (!name.isEmpty())
        header += u' ' + quoted(readable(name));
    if (!startedAs_.isEmpty())
        header += QStringLiteral(", ") + startedAs_;
    return header;
}

void RunLog::begin(int skript, const QString &name, int comPort, const QString &device, int baud) {
    failedThisRun_ = false;
    clock_.start();
    write({scriptHeader(skript, name) +
           QStringLiteral(", COM %1 (%2), %3 Baud").arg(comPort).arg(device).arg(baud)});
}

void RunLog::refused(int skript, const QString &name, const QString &message) {
    failedThisRun_ = false;
    write({scriptHeader(skript, name),
           QStringLiteral("Ende: nicht gestartet \u2013 ") + quoted(readable(message))});
    file_.close();
}

void RunLog::sent(const QByteArray &bytes) {
    write({QStringLiteral("gesendet: ") + quoted(readable(bytes))});
}

void RunLog::received(const QString &line) {
    write({QStringLiteral("empfangen: ") + quoted(readable(line))});
}

void RunLog::note(const QString &text) {
    write({readable(text)});
}

void RunLog::end(const QString &status, const QString &message) {
    QString line = QStringLiteral("Ende: ") + status;
    if (!message.isEmpty())
        line += QStringLiteral(" \u2013 ") + quoted(readable(message));
    const double seconds = double(clock_.elapsed()) / 1000.0;
    QLocale german(QLocale::German);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    line += QStringLiteral(" \u2013 Dauer %1 s").arg(german.toString(seconds, 'f', 3));
    write({line});
    file_.close();
}

std::optional<QString> RunLog::takeFailure() {
    if (failure_.isEmpty() || failureTaken_)
        return std::nullopt;
    failureTaken_ = true;
    return failure_;
}

} // namespace telmaris
