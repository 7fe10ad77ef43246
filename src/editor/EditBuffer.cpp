#include "editor/EditBuffer.h"

#include <algorithm>

namespace telmaris {

namespace {

constexpr QChar Lf = u'\n';

// What the character before the caret becomes; nothing when it is not in the table.
QString completion(QChar typed, int lineLen) {
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

void setSelStart(EditBuffer &buffer, int position) {
    buffer.selStart = std::clamp(position, 0, int(buffer.text.size()));
    buffer.selLength = 0;
}

void setSelLength(EditBuffer &buffer, int length) {
    buffer.selLength = std::clamp(length, 0, int(buffer.text.size()) - buffer.selStart);
}

QString selText(const EditBuffer &buffer) {
    return buffer.text.mid(buffer.selStart, buffer.selLength);
}

void setSelText(EditBuffer &buffer, const QString &text) {
    buffer.text.replace(buffer.selStart, buffer.selLength, text);
    buffer.selStart += int(text.size());
    buffer.selLength = 0;
}

bool completeKeyword(EditBuffer &buffer, int lineLen) {
    const int s = buffer.selStart;
    if (s <= 0 || s > buffer.text.size())
        return false;
    const QChar before = s == 1 ? Lf : buffer.text.at(s - 2);
    if (before.unicode() > 32)
        return false;
    const QString replacement = completion(buffer.text.at(s - 1), lineLen);
    if (replacement.isEmpty())
        return false;
    setSelStart(buffer, s - 1);
    setSelLength(buffer, 1);
    setSelText(buffer, replacement);
    return true;
}

QString cutLine(EditBuffer &buffer) {
    const int size = int(buffer.text.size());
    const int s = std::clamp(buffer.selStart, 0, size);
    int end = s;
    while (end < size && buffer.text.at(end) != Lf)
        ++end;
    ++end; // just behind the LF; one past the end on a last line without a break
    int start = s;
    while (start > 0 && buffer.text.at(start - 1) != Lf)
        --start;
    setSelStart(buffer, start);
    setSelLength(buffer, end - start);
    QString cut = selText(buffer);
    setSelText(buffer, QString());
    return cut;
}

} // namespace telmaris
