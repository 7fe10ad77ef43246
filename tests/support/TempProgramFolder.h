#pragma once
// A temporary program folder: the place where Telmaris.Ini lives in every test.

#include <QByteArray>
#include <QString>
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

private:
    QTemporaryDir dir_;
};

} // namespace telmaris::test
