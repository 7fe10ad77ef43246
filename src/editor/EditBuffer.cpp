#include "editor/EditBuffer.h"

#include <algorithm>

namespace telmaris {

namespace {

constexpr QChar kLf = u'\n';

// What the character before the caret becomes; nothing when it is not in the table.
QString Completion(QChar typed, int lineLen) {
    switch (typed.toUpper().unicode()) {
    case u'E':
        return QStringLiteral("EINGABE ");
    case u'M':
        return QStringLiteral("MODEM ");
    case u'F':
        return QStringLiteral("FLASH\r\n");
    case u'I':
        return QStringLiteral("IMPULSWAHL\r\n");
    case u'T':
        return QStringLiteral("TONWAHL\r\n");
    case u'H':
        return QStringLiteral("HINWEIS ");
    case u'P':
        return QStringLiteral("PAUSE ");
    case u'A':
        return QStringLiteral("AUFLEGEN\r\n");
    case u'W':
        return QStringLiteral("W\u00c4HLE ");
    case u'-':
    case u'_':
    case u'#':
    case u'~':
    case u'+':
    case u'*':
        return QString(std::max(lineLen, 0), typed) + QStringLiteral("\r\n");
    default:
        return {};
    }
}

} // namespace

void SetSelStart(EditBuffer &buffer, int position) {
    buffer.selStart = std::clamp(position, 0, int(buffer.text.size()));
    buffer.selLength = 0;
}

void SetSelLength(EditBuffer &buffer, int length) {
    buffer.selLength = std::clamp(length, 0, int(buffer.text.size()) - buffer.selStart);
}

QString SelText(const EditBuffer &buffer) {
    return buffer.text.mid(buffer.selStart, buffer.selLength);
}

void SetSelText(EditBuffer &buffer, const QString &text) {
    buffer.text.replace(buffer.selStart, buffer.selLength, text);
    buffer.selStart += int(text.size());
    buffer.selLength = 0;
}

bool CompleteKeyword(EditBuffer &buffer, int lineLen) {
    const int s = buffer.selStart;
    if (s <= 0 || s > buffer.text.size())
        return false;
    const QChar before = s == 1 ? kLf : buffer.text.at(s - 2);
    if (before.unicode() > 32)
        return false;
    const QString replacement = Completion(buffer.text.at(s - 1), lineLen);
    if (replacement.isEmpty())
        return false;
    SetSelStart(buffer, s - 1);
    SetSelLength(buffer, 1);
    SetSelText(buffer, replacement);
    return true;
}

QString CutLine(EditBuffer &buffer) {
    const int size = int(buffer.text.size());
    const int s = std::clamp(buffer.selStart, 0, size);
    int end = s;
    while (end < size && buffer.text.at(end) != kLf)
        ++end;
    ++end; // just behind the LF; one past the end on a last line without a break
    int start = s;
    while (start > 0 && buffer.text.at(start - 1) != kLf)
        --start;
    SetSelStart(buffer, start);
    SetSelLength(buffer, end - start);
    QString cut = SelText(buffer);
    SetSelText(buffer, QString());
    return cut;
}

} // namespace telmaris
