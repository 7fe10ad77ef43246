#pragma once
// The byte form of the settings file: read as UTF-8, or as Windows-1252 when the bytes are not
// valid UTF-8 (files made on Windows machines); always written as UTF-8.

#include <QByteArray>
#include <QString>

namespace telmaris {

struct DecodedIniBytes {
    QString text;
    bool hadByteOrderMark = false; // a UTF-8 byte order mark stood at the start
};

DecodedIniBytes DecodeIniBytes(const QByteArray &bytes);
QByteArray EncodeIniBytes(const QString &text, bool withByteOrderMark = false);

// Windows-1252 to Unicode, byte by byte; bytes without a character of their own (81, 8D, 8F,
// 90, 9D) keep their code point.
QString DecodeWindows1252(const QByteArray &bytes);

} // namespace telmaris
