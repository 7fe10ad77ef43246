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
        if (sayWhenMissing)
            printErrorLine(texts::NoToolkitTextsLine.arg(
                QDir(folder).filePath(QStringLiteral("qtbase_de.qm"))));
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace telmaris
