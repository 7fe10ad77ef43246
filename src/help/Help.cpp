#include "help/Help.h"

#include "common/UserTexts.h"
#include "help/MakerAddresses.h"

#include <QDir>
#include <QFileInfo>

namespace telmaris {

bool fileExists(const QString &path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QStringList helpFolders(const QString &programFolder) {
    // An installed program lies in <prefix>/bin and its manual in <prefix>/share/doc/telmaris.
    return {QDir::cleanPath(programFolder),
            QDir::cleanPath(programFolder + QStringLiteral("/../share/doc/telmaris"))};
}

QString findHelpFile(const QString &programFolder) {
    for (const QString &folder : helpFolders(programFolder)) {
        for (const QString &name : {QStringLiteral("hilfe.htm"), QStringLiteral("index.htm")}) {
            QString path = QDir(folder).filePath(name);
            if (fileExists(path))
                return path;
        }
    }
    return {};
}

QUrl documentUrl(const QString &target) {
    QUrl url(target, QUrl::TolerantMode);
    // A drive letter ("C:/...") parses as a scheme of one letter; it is a file all the same.
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(target);
}

bool openDocument(DocumentOpener &opener, const QString &target) {
    return opener.open(documentUrl(target));
}

void openFileOrTellWhere(const QString &path, const QString &message, Dialogs &dialogs,
                         DocumentOpener &opener) {
    if (opener.open(QUrl::fromLocalFile(path)))
        return;
    dialogs.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                        message.arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
}

void openWebSite(DocumentOpener &opener) {
    openDocument(opener, QString::fromLatin1(MakerWebSite));
}

void showHelp(const QString &programFolder, Dialogs &dialogs, DocumentOpener &opener) {
    const QString path = findHelpFile(programFolder);
    if (path.isEmpty()) {
        // Where it was looked for, and how it comes back.
        const QStringList folders = helpFolders(programFolder);
        dialogs.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                            texts::HelpNotFoundMessage + u'\r' +
                                texts::HelpSearchedLine.arg(QDir::toNativeSeparators(folders[0]),
                                                            QDir::toNativeSeparators(folders[1])));
        return;
    }
    openFileOrTellWhere(path, texts::HelpNotHandedOverMessage, dialogs, opener);
}

} // namespace telmaris
