#pragma once
// The names of the 100 script slots as the name list shows them ("n: name" or "n: (kein)").

#include <QStringList>

namespace telmaris {

class SkriptNameList {
public:
    // Entry n-1 belongs to slot n. With bDeleteCurrent the entry is replaced, otherwise a new
    // entry is inserted at position n-1 (used while the list is filled at start).
    void putSkriptNameToListbySkriptIndex(int n, const QString &name, bool bDeleteCurrent = false);
    // The name of slot n; the empty text for a slot without name. Colons inside a name survive.
    QString getSkriptNameFromListbySkriptIndex(int n) const;
    const QStringList &entries() const { return entries_; }

private:
    QStringList entries_;
};

// The caption of script tab n: the stored name as read, or n when it is empty.
QString tabCaption(int n, const QString &storedName);

} // namespace telmaris
