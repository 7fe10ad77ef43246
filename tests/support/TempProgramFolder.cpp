#include "TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace telmaris::test {

TempProgramFolder::TempProgramFolder() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary program folder");
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
