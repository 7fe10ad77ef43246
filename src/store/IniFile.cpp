#include "store/IniFile.h"

#include "common/UserTexts.h"
#include "store/InPlaceWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace telmaris {

namespace {

// Reads the whole file. A missing file is no error (an empty text); a file that exists but
// cannot be read is, since writing over it would lose its content.
bool readWholeFile(const QString &path, QByteArray *bytes, QString *error) {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (info.isDir()) {
        if (error)
            *error = texts::IsAFolderReason.arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A pipe or a device would block the window until someone writes to it, and writing over
    // it would not keep its content.
    if (!info.isFile()) {
        if (error)
            *error = texts::NotAFileReason.arg(QDir::toNativeSeparators(path));
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

IniSnapshot IniSnapshot::load(const QString &path, QString *error) {
    IniSnapshot snapshot;
    QByteArray bytes;
    if (readWholeFile(path, &bytes, error))
        snapshot.text_ = IniText::fromBytes(bytes);
    return snapshot;
}

QString IniSnapshot::value(const QString &section, const QString &key) const {
    return text_.value(section, key);
}

bool IniSnapshot::contains(const QString &section, const QString &key) const {
    return text_.contains(section, key);
}

IniEntries changedSince(const QString &section, const IniEntries &entries,
                        const IniSnapshot &atStart, const IniSnapshot &now) {
    IniEntries kept;
    for (const auto &entry : entries) {
        const auto &[key, value] = entry;
        const bool othersChange = value == atStart.value(section, key) &&
                                  now.contains(section, key) && now.value(section, key) != value;
        if (!othersChange)
            kept.append(entry);
    }
    return kept;
}

QString settingsNotReadMessage(const QString &path, const QString &reason) {
    return texts::SettingsNotReadMessage.arg(QDir::toNativeSeparators(path), reason);
}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

IniSnapshot IniFile::snapshot(QString *error) const {
    const std::optional<FileStamp> before = fileStampOf(path_);
    if (before && before == keptStamp_)
        return kept_;
    QString readError;
    IniSnapshot snapshot = IniSnapshot::load(path_, &readError);
    // Kept only when the read succeeded and nothing wrote the file while it was read.
    if (before && readError.isEmpty() && fileStampOf(path_) == before) {
        keptStamp_ = before;
        kept_ = snapshot;
    } else {
        keptStamp_.reset();
        kept_ = {};
    }
    if (error)
        *error = readError;
    return snapshot;
}

QString IniFile::readIni(const QString &key) const {
    return snapshot().value(DataSection, key);
}

bool IniFile::writeIni(const QString &key, const QString &value, QString *error) {
    return writeIniBatch(DataSection, {{key, value}}, error);
}

bool IniFile::writeIniBatch(const QString &section, const IniEntries &entries, QString *error) {
    return writeIniSections({{section, entries}}, error);
}

bool IniFile::writeIniSections(const QList<QPair<QString, IniEntries>> &sections, QString *error) {
    // Re-read right before writing: another running copy may have stored its own keys.
    QByteArray bytes;
    if (!readWholeFile(path_, &bytes, error))
        return false;
    IniText text = IniText::fromBytes(bytes);
    for (const auto &[section, entries] : sections) {
        for (const auto &[key, value] : entries)
            text.setValue(section, key, value);
    }

    // The kept file is this write's past; the next snapshot reads what was written.
    keptStamp_.reset();
    kept_ = {};

    const QString folder = QFileInfo(path_).absolutePath();
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder)) {
        if (error)
            *error = texts::FolderNotCreatedReason.arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Written to a temporary file beside it and renamed over the old one: the file is always
    // either the old or the new one, never torn. Where no temporary file can be made (a
    // writable file in a folder that is not), the file is written in place rather than not at
    // all, keeping its old content until the new one is known to fit.
    const QByteArray newBytes = text.toBytes();
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo existing(path_);
        if (existing.isFile() && existing.isWritable())
            return overwriteInPlace(path_, newBytes, error);
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(newBytes) != newBytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString locateIniFile(const QString &programDir) {
    return locateIniFile(programDir,
                         [](const QString &dir) { return QFileInfo(dir).isWritable(); });
}

// The settings file in folder under its own name, or else under the first name in byte order
// that equals it apart from letter case (a copy from Windows or a FAT stick); empty when there
// is none.
QString existingIniFile(const QString &folder) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(IniFileName)))
        return dir.filePath(IniFileName);
    QStringList names = dir.entryList({IniFileName}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    std::sort(names.begin(), names.end()); // by code point, which is byte order for ASCII
    for (const QString &name : names) {
        const bool ascii =
            std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii && name.compare(IniFileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return {};
}

bool isSystemProgramFolder(const QString &folder) {
    if (QFileInfo::exists(QDir(folder).filePath(InstalledMarkerName)))
        return true;
    const QString name = QDir(folder).dirName();
    if (name == QLatin1String("bin") || name == QLatin1String("sbin"))
        return true;
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    const QStringList onPath =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return std::any_of(onPath.cbegin(), onPath.cend(), [&](const QString &entry) {
        return QFileInfo(entry).canonicalFilePath() == canonical;
    });
}

QString locateIniFile(const QString &programDir,
                      const std::function<bool(const QString &dir)> &isWritableDir) {
    if (QString existing = existingIniFile(programDir); !existing.isEmpty())
        return existing;
    // A program installed among the system's programs shares its folder with every user: a
    // file made there by one start (as root, say) would shadow everybody's own settings.
    if (!isSystemProgramFolder(programDir) && isWritableDir(programDir))
        return QDir(programDir).filePath(IniFileName);
    return userSettingsFolder() + u'/' + IniFileName;
}

QString userSettingsFolder() {
#ifdef Q_OS_WIN
    // %APPDATA%: the settings travel with a roaming profile (the run log stays local).
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
}

} // namespace telmaris
