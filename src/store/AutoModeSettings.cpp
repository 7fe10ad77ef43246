#include "store/AutoModeSettings.h"

#include "common/Numbers.h"
#include "store/IniFile.h"

#include <cmath>

namespace telmaris {

namespace {

// A leading number as the settings are read, but a text that does not begin with one is no
// number at all here: it must not read as 0, which would mean "wait for ever".
bool beginsWithNumber(QStringView text) {
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    if (at < text.size() && text[at] == u'.')
        ++at;
    return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
}

} // namespace

int readAnswerTimeLimit(const IniSnapshot &ini, bool display) {
    const int standard = display ? 0 : 60;
    const QString text = ini.value(AutoModeSection, QStringLiteral("AntwortZeit"));
    if (!beginsWithNumber(text))
        return standard;
    // A fraction rounds up: a positive limit waits at least as long as asked, only 0 means
    // no limit.
    const double asked = readLeadingNumber(text);
    if (asked < 0)
        return standard;
    const std::optional<qint16> seconds = toInt16(std::ceil(asked));
    return seconds ? *seconds : standard;
}

} // namespace telmaris
