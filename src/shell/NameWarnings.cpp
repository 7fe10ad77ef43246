#include "shell/NameWarnings.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "shell/CommandLine.h"
#include "store/StartData.h"

#include <cmath>

namespace telmaris {

QStringList nameWarnings(int n, const QString &name, const QStringList &names) {
    QStringList warnings;
    const QString key = trimBlanks(name).toLower();
    if (key.isEmpty())
        return warnings;
    const QString shown = trimBlanks(name);
    if (asksForTrace(name))
        warnings << texts::NameIsDebugWarning;
    if (key.startsWith(u'-'))
        warnings << texts::NameIsOptionWarning.arg(n);
    for (int other = 1; other <= names.size(); ++other) {
        if (other != n && trimBlanks(names.at(other - 1)).toLower() == key) {
            warnings << texts::NameTakenWarning.arg(other)
                            .arg(trimBlanks(names.at(other - 1)), shown)
                            .arg(std::min(n, other));
            break;
        }
    }
    const double number = std::floor(readLeadingNumber(key));
    if (number >= 1 && number <= SlotCount && static_cast<int>(number) != n) {
        // The whole name is that number: the command line takes it as the name.
        bool isNumber = false;
        const bool whole = std::floor(key.toDouble(&isNumber)) == number && isNumber;
        const int k = static_cast<int>(number);
        warnings << (whole ? texts::NameIsNumberWarning.arg(shown).arg(n).arg(k)
                           : texts::NameBeginsWithNumberWarning.arg(k));
    }
    return warnings;
}

QString nameWarningQuestion(int n, const QString &name, const QStringList &warnings) {
    return texts::NameWarningQuestion.arg(trimBlanks(name)).arg(n).arg(warnings.join(u'\r'));
}

} // namespace telmaris
