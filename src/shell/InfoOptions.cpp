#include "shell/InfoOptions.h"

#include "common/ConsoleText.h"
#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "info/VersionString.h"
#include "shell/CommandLine.h"
#include "shell/ConsoleDialogs.h"
#include "shell/StopSignals.h"
#include "store/IniFile.h"
#include "store/ScriptSlots.h"
#include "store/StartDataFile.h"

#include <QStringList>

namespace telmaris {

namespace {

void printOut(const QString &text) {
    printText(stdout, text);
}

// For each slot with a name or a text: its number, a tab and its name (empty for a slot
// without one).
QStringList scriptListLines(const IniSnapshot &ini) {
    // Names and texts as the window reads them at start-up; the ports play no part here.
    const StoredStartData stored = readStartDataFromIniFile(ini, {});
    QStringList lines;
    for (int n = 1; n <= SlotCount; ++n) {
        const QString &name = stored.names.at(n - 1);
        if (!name.isEmpty() || !storedSkriptText(n, ini).isEmpty())
            lines << QString::number(n) + u'\t' + name;
    }
    return lines;
}

// The slots as --list shows them, or the exit status when the file cannot be read.
int printScriptList(const QString &programFolder) {
    const QString path = locateIniFile(programFolder);
    QString readError;
    const IniSnapshot ini = IniSnapshot::load(path, &readError);
    if (!readError.isEmpty()) {
        ConsoleDialogs().showMessage(MessageIcon::Critical, QStringLiteral("Telmaris"),
                                     settingsNotReadMessage(path, readError));
        return ExitRunFailed;
    }
    const QStringList lines = scriptListLines(ini);
    printOut(lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
    return ExitSuccess;
}

} // namespace

InfoOption infoOptionOf(const QString &argument) {
    const QString option = trimBlanks(argument);
    if (option == QStringLiteral("--help"))
        return InfoOption::Help;
    if (option == QStringLiteral("--version"))
        return InfoOption::Version;
    if (option == QStringLiteral("--list"))
        return InfoOption::List;
    return InfoOption::None;
}

int printInfo(InfoOption option, const std::function<QString()> &programFolder) {
    switch (option) {
    case InfoOption::Help:
        printOut(QString(texts::UsageText).replace(u'\r', u'\n') + u'\n' +
                 StopSignals::usageLine() + u'\n');
        return ExitSuccess;
    case InfoOption::Version:
        printOut(QStringLiteral("telmaris ") + versionNumber() + u'\n');
        return ExitSuccess;
    case InfoOption::List:
        return printScriptList(programFolder());
    case InfoOption::None:
        break;
    }
    return ExitSuccess;
}

} // namespace telmaris
