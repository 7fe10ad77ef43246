#include "TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <stdexcept>

namespace telmaris::test {

TempProgramFolder::TempProgramFolder() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary program folder");
    qputenv("XDG_STATE_HOME", QFile::encodeName(filePath(QStringLiteral("state"))));
}

QString TempProgramFolder::runLogPath() const {
    return filePath(QStringLiteral("state/Telmaris/Telmaris.log"));
}

QStringList TempProgramFolder::runLog() const {
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\[\\d+\\] "));
    QStringList lines;
    for (const QString &line :
         QString::fromUtf8(readFile(QStringLiteral("state/Telmaris/Telmaris.log")))
             .split(u'\n', Qt::SkipEmptyParts)) {
        static const QRegularExpression duration(QStringLiteral("Dauer \\d+,\\d{3} s$"));
        const QRegularExpressionMatch match = stamp.match(line);
        QString text = match.hasMatch() ? line.mid(match.capturedLength()) : u'!' + line;
        lines << text.replace(duration, QStringLiteral("Dauer \u2026 s"));
    }
    return lines;
}

QString TempProgramFolder::iniPath() const {
    return filePath(QStringLiteral("Telmaris.Ini"));
}

QString TempProgramFolder::filePath(const QString &name) const {
    return QDir(dir_.path()).filePath(name);
}

void TempProgramFolder::writeFile(const QString &name, const QByteArray &content) const {
    QFile file(filePath(name));
    if (!QDir().mkpath(QFileInfo(file).absolutePath()) ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        throw std::runtime_error("cannot write a file into the test program folder");
}

QByteArray TempProgramFolder::readFile(const QString &name) const {
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace telmaris::test
