#include "store/IniFile.h"

#include "common/UserTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <utility>

namespace telmaris {

namespace {

// Reads the whole file. A missing file is no error (an empty text); a file that exists but
// cannot be read is, since writing over it would lose its content.
bool ReadWholeFile(const QString &path, QByteArray *bytes, QString *error) {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (info.isDir()) {
        if (error)
            *error = texts::IsAFolderReason.arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

IniSnapshot IniSnapshot::Load(const QString &path) {
    IniSnapshot snapshot;
    QByteArray bytes;
    if (ReadWholeFile(path, &bytes, nullptr))
        snapshot.text_ = IniText::FromBytes(bytes);
    return snapshot;
}

QString IniSnapshot::value(const QString &section, const QString &key) const {
    return text_.value(section, key);
}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

IniSnapshot IniFile::snapshot() const {
    return IniSnapshot::Load(path_);
}

QString IniFile::ReadIni(const QString &key) const {
    return snapshot().value(DataSection, key);
}

bool IniFile::WriteIni(const QString &key, const QString &value, QString *error) {
    return WriteIniBatch(DataSection, {{key, value}}, error);
}

bool IniFile::WriteIniBatch(const QString &section, const IniEntries &entries, QString *error) {
    // Re-read right before writing: another running copy may have stored its own keys.
    QByteArray bytes;
    if (!ReadWholeFile(path_, &bytes, error))
        return false;
    IniText text = IniText::FromBytes(bytes);
    for (const auto &[key, value] : entries)
        text.setValue(section, key, value);

    const QString folder = QFileInfo(path_).absolutePath();
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        if (error)
            *error = texts::FolderNotCreatedReason.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Written to a temporary file beside it and renamed over the old one: the file is always
    // either the old or the new one, never torn.
    QSaveFile file(path_);
    const QByteArray newBytes = text.toBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(newBytes) != newBytes.size() ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString LocateIniFile(const QString &programDir) {
    return LocateIniFile(programDir,
                         [](const QString &dir) { return QFileInfo(dir).isWritable(); });
}

QString LocateIniFile(const QString &programDir,
                      const std::function<bool(const QString &dir)> &isWritableDir) {
    QString besideProgram = QDir(programDir).filePath(IniFileName);
    if (QFileInfo::exists(besideProgram) || isWritableDir(programDir))
        return besideProgram;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/' + IniFileName;
}

} // namespace telmaris
