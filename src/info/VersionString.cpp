#include "info/VersionString.h"

#include "common/Numbers.h"
#include "help/MakerAddresses.h"

#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>

namespace telmaris {

QString VersionString(int major, int minor, int revision) {
    QString letter;
    if (revision >= 100)
        letter = QChar(96 + int(RoundHalfToEven(revision / 100.0)));
    return QStringLiteral(" (V%1.%2%3)").arg(major).arg(minor).arg(letter);
}

QString VersionString() {
    return VersionString(TELMARIS_VERSION_MAJOR, TELMARIS_VERSION_MINOR, TELMARIS_VERSION_PATCH);
}

QString OperatingSystemName() {
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

QString SupportMailSubject() {
    return QStringLiteral("Telmaris") + VersionString() + QStringLiteral(" unter ") +
           OperatingSystemName();
}

QString SupportMailAddress(const QString &subject) {
    return QStringLiteral("mailto:") + QString::fromLatin1(kMakerSupportMail) +
           QStringLiteral("?subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject));
}

} // namespace telmaris
