#include "info/VersionString.h"

#include "common/Numbers.h"
#include "help/MakerAddresses.h"

#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>

namespace telmaris {

QString versionString(int major, int minor, int revision) {
    QString letter;
    if (revision >= 100)
        letter = QChar(96 + int(roundHalfToEven(revision / 100.0)));
    return QStringLiteral(" (V%1.%2%3)").arg(major).arg(minor).arg(letter);
}

QString versionString() {
    return versionString(TELMARIS_VERSION_MAJOR, TELMARIS_VERSION_MINOR, TELMARIS_VERSION_PATCH);
}

QString versionNumber() {
    return QStringLiteral("%1.%2.%3")
        .arg(TELMARIS_VERSION_MAJOR)
        .arg(TELMARIS_VERSION_MINOR)
        .arg(TELMARIS_VERSION_PATCH);
}

QString operatingSystemName() {
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    if (os.type() == QOperatingSystemVersion::Windows) {
        // The build number's low 16 bits, as the platform's own version query gives them.
        return QStringLiteral("Windows %1.%2.%3")
            .arg(os.majorVersion())
            .arg(std::max(os.minorVersion(), 0))
            .arg(std::max(os.microVersion(), 0) & 0xFFFF);
    }
    return QSysInfo::prettyProductName();
}

QString supportMailSubject() {
    return QStringLiteral("Telmaris") + versionString() + QStringLiteral(" unter ") +
           operatingSystemName();
}

QString supportMailAddress(const QString &subject) {
    return QStringLiteral("mailto:") + QString::fromLatin1(MakerSupportMail) +
           QStringLiteral("?subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject));
}

} // namespace telmaris
