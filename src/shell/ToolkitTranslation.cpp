#include "shell/ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

namespace telmaris {

bool loadGermanToolkitTexts(QCoreApplication &app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        QTextStream(stderr) << "Telmaris: Qt's German texts (qtbase_de.qm) are missing in "
                            << folder
                            << ", dialogs show English buttons; install the package "
                               "qt6-translations-l10n.\n";
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace telmaris
