#pragma once
// A temporary program folder: the place where Telmaris.Ini lives in every test. The user's
// state folder, where the run log goes, is made to lie inside it too (XDG_STATE_HOME), so no
// test writes the real user's log.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace telmaris::test {

class TempProgramFolder {
public:
    TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString iniPath() const;
    QString filePath(const QString &name) const;
    void writeIni(const QByteArray &content) const {
        writeFile(QStringLiteral("Telmaris.Ini"), content);
    }
    // Writes a file of the given name (a path relative to the folder) into the folder, making
    // the folders on its way; throws when it cannot.
    void writeFile(const QString &name, const QByteArray &content = "<html></html>") const;
    QByteArray readIni() const { return readFile(QStringLiteral("Telmaris.Ini")); }
    QByteArray readFile(const QString &name) const; // empty when there is none

    QString runLogPath() const; // in the folder that XDG_STATE_HOME names
    // The run log's lines without their date, time and process number, and with "Dauer … s"
    // for a run's duration; a line without them is marked with a leading "!".
    QStringList runLog() const;

private:
    QTemporaryDir dir_;
};

} // namespace telmaris::test
