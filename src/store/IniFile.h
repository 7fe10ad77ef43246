#pragma once
// The settings file Telmaris.Ini: an INI text with sections, keys matched without regard to
// case (the first of duplicate keys wins), values trimmed of blanks.
//
// Every write re-reads the file, changes only the keys it was given (an existing key in place,
// a new key appended to its section, the section appended when missing) and replaces the file
// atomically, so a crash or a full disc never leaves a torn file and other content, other
// sections and another running copy's keys survive byte for byte.
//
// Each line is read as UTF-8 when it is valid UTF-8, else as Windows-1252; lines the program
// does not change keep their bytes, lines it writes are UTF-8.

#include "store/IniText.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace telmaris {

inline const QString DataSection = QStringLiteral("Data");
inline const QString PortsSection = QStringLiteral("Ports");

using IniEntries = QList<QPair<QString, QString>>; // key, value in write order

// One read of the whole file, for reading many keys at start-up without re-reading the file.
class IniSnapshot {
public:
    IniSnapshot() = default;
    // A missing file is an empty snapshot; so is one that cannot be read, with the reason in
    // error.
    static IniSnapshot load(const QString &path, QString *error = nullptr);
    QString value(const QString &section, const QString &key) const; // "" when missing
    bool contains(const QString &section, const QString &key) const;
    const IniText &text() const { return text_; }

private:
    IniText text_;
};

// The entries of section worth writing over the file as it is now, when atStart is what this copy
// read at its start: all but those whose value is still the one read then while the file now
// holds another one. Those were changed by another running copy since, and this one did not.
// With a single copy (now as atStart) every entry is kept.
IniEntries changedSince(const QString &section, const IniEntries &entries,
                        const IniSnapshot &atStart, const IniSnapshot &now);

// What the user is told at start-up when the settings file exists but cannot be read.
QString settingsNotReadMessage(const QString &path, const QString &reason);

// What identifies one version of a file without reading it: device, inode, size and the
// modification and change times in nanoseconds. A write in place keeps the inode but moves the
// change time; a replacement by rename brings a new inode.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
std::optional<FileStamp> fileStampOf(const QString &path); // none when the file is not there

class IniFile {
public:
    explicit IniFile(QString path);
    const QString &path() const { return path_; }

    // The whole file as it is now. The parsed file is kept and handed out again while its stamp
    // is unchanged, so a tab switch reads nothing unless another copy has written the file.
    IniSnapshot snapshot(QString *error = nullptr) const;
    // The value of key in section "Data", or the empty text.
    QString readIni(const QString &key) const;
    // Stores value under key in section "Data". False with a readable reason when it failed.
    bool writeIni(const QString &key, const QString &value, QString *error = nullptr);
    // Stores all entries in one read-modify-write.
    bool writeIniBatch(const QString &section, const IniEntries &entries, QString *error = nullptr);
    // The same for the entries of several sections, in one read-modify-write.
    bool writeIniSections(const QList<QPair<QString, IniEntries>> &sections,
                          QString *error = nullptr);

private:
    QString path_;
    mutable std::optional<FileStamp> keptStamp_;
    mutable IniSnapshot kept_;
};

// The file an installer leaves beside the program: such a copy keeps its settings in the user's
// configuration folder, while a portable copy (unpacked anywhere) keeps them beside itself.
inline const QString InstalledMarkerName = QStringLiteral("Telmaris.installed");

// Whether folder is one of the system's program folders: a "bin" or "sbin" folder (/usr/bin,
// /usr/local/sbin, ...), a folder on PATH, or a folder an installer put the program in (with
// the marker beside it). Other users' starts would find a file there first.
bool isSystemProgramFolder(const QString &folder);

// Where Telmaris.Ini lives: beside the program (programDir), unless no file lies there and the
// folder is not writable or is a system program folder (not even the superuser creates one
// there), then in the user's configuration folder. Beside the program, a file
// whose name differs only in letter case (TELMARIS.INI) is taken under its own name when no
// Telmaris.Ini is there; of several, the first in byte order.
QString locateIniFile(const QString &programDir);
// The same with the writability test given (tests: a folder that counts as not writable).
QString locateIniFile(const QString &programDir,
                      const std::function<bool(const QString &dir)> &isWritableDir);

inline const QString IniFileName = QStringLiteral("Telmaris.Ini");

// The user's own folder for the settings file of an installed copy: ~/.config/Telmaris, on
// Windows %APPDATA%\Telmaris.
QString userSettingsFolder();

} // namespace telmaris
