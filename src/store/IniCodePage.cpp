#include "store/IniCodePage.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace telmaris {

namespace {

// Code points of the bytes 80..9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char16_t, 32> Windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

const QByteArray Utf8ByteOrderMark("\xEF\xBB\xBF", 3);

} // namespace

QString DecodeWindows1252(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = code >= 0x80 && code <= 0x9F ? Windows1252High[code - 0x80] : code;
    }
    return text;
}

DecodedIniBytes DecodeIniBytes(const QByteArray &bytes) {
    DecodedIniBytes result;
    QByteArrayView body = bytes;
    if (body.startsWith(Utf8ByteOrderMark)) {
        result.hadByteOrderMark = true;
        body = body.sliced(Utf8ByteOrderMark.size());
    }
    // Checked and decoded in one pass, in pieces, so that a file that is not UTF-8 is noticed
    // near its first foreign byte instead of after the whole file. A further byte order mark
    // is a character of the text like any other.
    QString text(body.size(), Qt::Uninitialized); // UTF-8 never gives more UTF-16 units than bytes
    QChar *out = text.data();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    constexpr qsizetype Piece = 64 * 1024;
    for (qsizetype at = 0; at < body.size();) {
        qsizetype end = std::min(at + Piece, body.size());
        // Cut before continuation bytes, so that no character is split between two pieces.
        for (int back = 0; back < 3 && end < body.size() && end - 1 > at &&
                           (static_cast<unsigned char>(body.at(end)) & 0xC0) == 0x80;
             ++back)
            --end;
        out = decoder.appendToBuffer(out, body.sliced(at, end - at));
        if (decoder.hasError()) {
            // Not UTF-8: a file from a Windows machine in its 8-bit code page. A byte order mark
            // would have made it UTF-8, so the whole file is taken as it stands.
            result.hadByteOrderMark = false;
            result.text = DecodeWindows1252(bytes);
            return result;
        }
        at = end;
    }
    text.truncate(out - text.constData());
    result.text = std::move(text);
    return result;
}

QByteArray EncodeIniBytes(const QString &text, bool withByteOrderMark) {
    QByteArray bytes = withByteOrderMark ? Utf8ByteOrderMark : QByteArray();
    bytes.append(text.toUtf8());
    return bytes;
}

} // namespace telmaris
