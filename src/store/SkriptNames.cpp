#include "store/SkriptNames.h"

#include "common/Numbers.h"

namespace telmaris {

namespace {
const QString NoName = QStringLiteral("(kein)");
}

void SkriptNameList::putSkriptNameToListbySkriptIndex(int n, const QString &name,
                                                      bool bDeleteCurrent) {
    const qsizetype position = n - 1;
    if (position < 0)
        return;
    if (bDeleteCurrent && position < entries_.size())
        entries_.removeAt(position);
    // The emptiness test comes before trimming: a name of blanks shows as nothing.
    const QString shown = name.isEmpty() ? NoName : trimBlanks(name);
    entries_.insert(qMin(position, entries_.size()),
                    QString::number(n) + QStringLiteral(": ") + shown);
}

QString SkriptNameList::getSkriptNameFromListbySkriptIndex(int n) const {
    const qsizetype position = n - 1;
    if (position < 0 || position >= entries_.size())
        return {};
    const QString &entry = entries_.at(position);
    const QString name = trimBlanks(entry.mid(entry.indexOf(u':') + 1)); // later colons stay
    return name == NoName ? QString() : name;
}

QString tabCaption(int n, const QString &storedName) {
    return storedName.isEmpty() ? QString::number(n) : storedName;
}

} // namespace telmaris
