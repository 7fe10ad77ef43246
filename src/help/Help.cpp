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

QString findHelpFile(const QString &programFolder) {
    // An installed program lies in <prefix>/bin and its manual in <prefix>/share/doc/telmaris.
    const QString installedDocs =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/doc/telmaris"));
    for (const QString &folder : {programFolder, installedDocs}) {
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
        dialogs.showMessage(MessageIcon::Information, QStringLiteral("Telmaris"),
                            texts::HelpNotFoundMessage);
        return;
    }
    openFileOrTellWhere(path, texts::HelpNotHandedOverMessage, dialogs, opener);
}

} // namespace telmaris
