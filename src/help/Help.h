#pragma once
// The manual beside the program or in its installed place, and the hand-over of files and addresses
// to the desktop.

#include "common/Dialogs.h"
#include "help/DocumentOpener.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace telmaris {

// True when a plain file is at path; folders, hidden files and any error count as no file.
bool fileExists(const QString &path);

// The folders the manual is looked for in, in this order: the program folder (a portable copy),
// then ../share/doc/telmaris/ beside it (an installed copy).
QStringList helpFolders(const QString &programFolder);

// "hilfe.htm", else "index.htm", first in the program folder (a portable copy), then in
// ../share/doc/telmaris/ beside it (an installed copy); empty when none is a plain file.
QString findHelpFile(const QString &programFolder);

// A file path or a web or mail address as the address the desktop opens.
QUrl documentUrl(const QString &target);

// Hands target to the desktop's default application; false when no program took it.
bool openDocument(DocumentOpener &opener, const QString &target);

// Hands the file at path to the desktop's default application; when no program takes it, tells
// the user where the file lies (message, "%1" its full path), so that it can be opened by hand.
void openFileOrTellWhere(const QString &path, const QString &message, Dialogs &dialogs,
                         DocumentOpener &opener);

// Opens the maker's web site.
void openWebSite(DocumentOpener &opener);

// Opens the manual, or says that there is none (information box, title "Telmaris"), where it
// was looked for and how to install it again, or where it lies when no program took it.
void showHelp(const QString &programFolder, Dialogs &dialogs, DocumentOpener &opener);

} // namespace telmaris
