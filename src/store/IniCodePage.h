#pragma once
// The byte form of the settings file's lines: UTF-8, or Windows-1252 for a line that is not
// valid UTF-8 (files made on Windows machines, lines added by old editors).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace telmaris {

// Windows-1252 to Unicode, byte by byte; bytes without a character of their own (81, 8D, 8F,
// 90, 9D) keep their code point.
QString decodeWindows1252(QByteArrayView bytes);

// Valid UTF-8 to text; a byte order mark in it is kept as a character.
QString decodeUtf8(QByteArrayView bytes);

} // namespace telmaris
