#include "ports/PortDiagnosis.h"

#include "ports/PortDiagnosisTexts.h"

#include <QStringList>

namespace telmaris {

namespace port_texts {

QString noDeviceNamed() {
    return QStringLiteral("Für diese Schnittstelle ist kein Gerät eingetragen.");
}

QString notThere(const QString &device) {
    return QStringLiteral("Das Gerät %1 ist nicht vorhanden. Ist das Modem eingesteckt und "
                          "eingeschaltet? Ein ausgestecktes USB-Modem verschwindet mit seinem "
                          "Gerät; nach dem Einstecken findet es „Neu suchen“ auf der Optionsseite.")
        .arg(device);
}

QString otherReason(const QString &device, const QString &systemText) {
    if (systemText.isEmpty())
        return QStringLiteral("%1 lässt sich nicht öffnen.").arg(device);
    return QStringLiteral("%1 lässt sich nicht öffnen: %2").arg(device, systemText);
}

QString heldByAnother(const QString &device) {
    return QStringLiteral("Das Gerät %1 ist belegt: Ein anderes Programm hält es.").arg(device);
}

QString leaveOrChoose() {
    return QStringLiteral(
        " Beenden Sie dieses Programm, oder wählen Sie eine andere Schnittstelle.");
}

} // namespace port_texts

using namespace port_texts;

QString briefPortReason(const QString &reason) {
    // The reasons this file words, by the marks each of them carries.
    const std::pair<QString, QString> kinds[] = {
        {QStringLiteral("Keine Berechtigung für "), QStringLiteral("Keine Berechtigung")},
        {QStringLiteral("Für diese Schnittstelle ist kein Gerät"),
         QStringLiteral("Kein Gerät eingetragen")},
        {QStringLiteral("Hinter "), QStringLiteral("Keine Schnittstelle")},
    };
    for (const auto &[start, brief] : kinds) {
        if (reason.startsWith(start))
            return brief;
    }
    if (reason.startsWith(QStringLiteral("Das Gerät ")))
        return reason.contains(QLatin1String(" ist belegt"))
                   ? QStringLiteral("Gerät belegt")
                   : QStringLiteral("Gerät nicht vorhanden");
    return QStringLiteral("Lässt sich nicht öffnen");
}

QString permissionReason(const DeviceAccess &access) {
    const QString mode = QStringLiteral("%1").arg(access.mode & 0777, 3, 8, QLatin1Char('0'));
    // Joining a group that may not read and write the device would not help.
    if ((access.mode & 060) != 060) {
        const QString who = access.owner == QLatin1String("root") || (access.mode & 0600) != 0600
                                ? QStringLiteral("nur root")
                                : QStringLiteral("nur %1 und root").arg(access.owner);
        return QStringLiteral("Keine Berechtigung für %1: Das Gerät gehört %2 (Gruppe %3, Rechte "
                              "%4), und %5 darf es öffnen. Abhilfe: eine udev-Regel, die der "
                              "Gruppe dialout Lese- und Schreibrecht gibt; die Hilfe zeigt sie "
                              "unter „Zugriff auf die Schnittstelle“.")
            .arg(access.device, access.owner, access.group, mode, who);
    }
    const QString start =
        QStringLiteral("Keine Berechtigung für %1: Das Gerät gehört der Gruppe %2")
            .arg(access.device, access.group);
    if (access.inGroupNow)
        return start + QStringLiteral(", in der Sie (%1) sind, und die Gruppe darf es öffnen "
                                      "(Rechte %2); das System verweigert es trotzdem. Das muss "
                                      "der Systemverwalter klären.")
                           .arg(access.user, mode);
    if (access.listedInGroup)
        return start + QStringLiteral(". Sie (%1) sind zwar in diese Gruppe aufgenommen, aber das "
                                      "gilt erst nach einer neuen Anmeldung: bitte ab- und "
                                      "wieder anmelden.")
                           .arg(access.user);
    return start + QStringLiteral(", und Sie (%1) sind nicht in ihr. ").arg(access.user) +
           groupRemedy(access);
}

QString groupRemedy(const DeviceAccess &access) {
    if ((access.mode & 060) != 060 || access.inGroupNow)
        return {};
    if (access.listedInGroup)
        return QStringLiteral("Abhilfe: sich ab- und wieder anmelden; erst dann gilt die "
                              "Aufnahme in die Gruppe %1.")
            .arg(access.group);
    return QStringLiteral("Abhilfe: im Terminal „sudo adduser %1 %2“ eingeben und sich danach "
                          "ab- und wieder anmelden.")
        .arg(access.user, access.group);
}

QString diagnoseOpenFailure(const QString &device, OpenFailure failure, const QString &systemText) {
    switch (failure) {
    case OpenFailure::NotThere:
        return notThere(device);
    case OpenFailure::Held:
        return heldByAnother(device) + leaveOrChoose();
    case OpenFailure::Other:
        break;
    }
    return otherReason(device, systemText);
}

} // namespace telmaris
