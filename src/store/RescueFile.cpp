#include "store/RescueFile.h"

#include "common/Numbers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace telmaris {

std::optional<QString> writeRescueFile(const QString &iniPath, int n, const QString &text,
                                       QString *error) {
    const QString name =
        QStringLiteral("Telmaris-Skript%1-%2.txt")
            .arg(n)
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QByteArray bytes = text.toUtf8();
    for (const QString &folder : {QFileInfo(iniPath).absolutePath(), QDir::homePath()}) {
        QFile file(QDir(folder).filePath(name));
        // A new file only: an earlier rescue of the same second is not overwritten.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
            file.write(bytes) == bytes.size() && file.flush()) {
            file.close();
            return QDir::toNativeSeparators(file.fileName());
        }
        if (error)
            *error = file.errorString();
        if (file.isOpen())
            file.remove();
    }
    return std::nullopt;
}

QString scriptLabel(int n, const QString &name) {
    const QString trimmed = trimBlanks(name);
    return trimmed.isEmpty() ? QStringLiteral("Das Skript %1").arg(n)
                             : QStringLiteral("Das Skript %1 „%2“").arg(n).arg(trimmed);
}

} // namespace telmaris
