#pragma once
// The byte form of the settings file: read as UTF-8, or as Windows-1252 when the bytes are not
// valid UTF-8 (files made on Windows machines); always written as UTF-8.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace telmaris {

// Windows-1252 to Unicode, byte by byte; bytes without a character of their own (81, 8D, 8F,
// 90, 9D) keep their code point.
QString DecodeWindows1252(QByteArrayView bytes);

// Whether bytes are valid UTF-8 (checked in pieces, without a copy of the text).
bool IsUtf8(QByteArrayView bytes);
// Valid UTF-8 to text; a byte order mark in it is kept as a character.
QString DecodeUtf8(QByteArrayView bytes);

} // namespace telmaris
