#pragma once
// The version as the info dialog, the support mail and "telmaris --version" show it.

#include <QString>

namespace telmaris {

// " (V" + major + "." + minor + letter + ")": no letter while the revision is below 100,
// else the letter 96 + revision / 100 rounded half to even (100..149 "a", 150..250 "b").
QString versionString(int major, int minor, int revision);
// The same for this build of the program.
QString versionString();
// This build's version as major.minor.patch ("1.0.0"), as "telmaris --version" prints it.
QString versionNumber();

// The operating system for the mail subject: "Windows " + major.minor.build on Windows, the
// system's own name and version elsewhere.
QString operatingSystemName();

// "Telmaris" + VersionString + " unter " + the operating system.
QString supportMailSubject();
// The mailto address of the maker's support with that subject, percent-encoded.
QString supportMailAddress(const QString &subject);

} // namespace telmaris
