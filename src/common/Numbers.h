#pragma once
// How Telmaris reads numbers and trims texts. Every setting, every PAUSE argument and the
// command line go through these few functions, so the rules live in one place.

#include <QString>
#include <QStringView>
#include <optional>

namespace telmaris {

// Removes blanks (code 32) at both ends; tabs and line breaks stay.
QString trimBlanks(const QString &text);

// The number a text begins with: an optional sign, digits and at most one decimal point ".",
// read up to the first character that cannot continue it. A text without a leading number
// reads as 0. Leading blanks are not skipped (callers trim first).
double readLeadingNumber(QStringView text);

// The same, but blanks and tabs anywhere in the text are skipped ("1 0" reads as 10). Used for
// PAUSE arguments, which users write loosely.
double readLeadingNumberLenient(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfToEven(double value);

// A whole number as a 16-bit signed value, or nothing when it lies outside -32768..32767
// (or is not finite).
std::optional<qint16> toInt16(double wholeNumber);

// A stored setting: leading number, rounded half to even, nothing when outside 16 bits.
std::optional<qint16> readSettingNumber(QStringView text);

} // namespace telmaris
