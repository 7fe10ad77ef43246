#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace telmaris {

QString trimBlanks(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

namespace {

// Collects the characters of the leading number into plain ASCII and converts them once, so
// that long digit strings keep full double precision instead of accumulating rounding errors.
double readNumber(QStringView text, bool skipBlanksAndTabs) {
    std::string digits;
    bool negative = false;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    for (const QChar c : text) {
        if (skipBlanksAndTabs && (c == u' ' || c == u'\t'))
            continue;
        if ((c == u'+' || c == u'-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            negative = c == u'-';
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            digits.push_back('.');
        } else if (c >= u'0' && c <= u'9') {
            digitSeen = true;
            digits.push_back(static_cast<char>(c.unicode()));
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0.0;
    // from_chars ignores the process locale (a German locale would otherwise read "," as the
    // decimal point).
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large, or so small that it underflows: tell them apart by the whole-number part.
        const auto wholePart = digits.substr(0, digits.find('.'));
        value = wholePart.find_first_not_of('0') == std::string::npos ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

} // namespace

double readLeadingNumber(QStringView text) {
    return readNumber(text, false);
}

double readLeadingNumberLenient(QStringView text) {
    return readNumber(text, true);
}

double roundHalfToEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<qint16> toInt16(double wholeNumber) {
    if (!std::isfinite(wholeNumber) || wholeNumber < -32768.0 || wholeNumber > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(wholeNumber);
}

std::optional<qint16> readSettingNumber(QStringView text) {
    return toInt16(roundHalfToEven(readLeadingNumber(text)));
}

} // namespace telmaris
