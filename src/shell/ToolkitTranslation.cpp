#include "shell/ToolkitTranslation.h"

#include "common/ConsoleText.h"
#include "common/UserTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace telmaris {

bool loadGermanToolkitTexts(QCoreApplication &app, bool sayWhenMissing) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        // On Linux the texts come in a package of their own; a Windows copy brings them along.
#ifdef Q_OS_WIN
        const QString &line = texts::NoToolkitTextsLineWindows;
#else
        const QString &line = texts::NoToolkitTextsLine;
#endif
        if (sayWhenMissing)
            printErrorLine(line.arg(QDir(folder).filePath(QStringLiteral("qtbase_de.qm"))));
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace telmaris
