#include "store/IniText.h"

#include "common/Numbers.h"
#include "store/IniCodePage.h"

namespace telmaris {

namespace {

const QByteArray Utf8ByteOrderMark("\xEF\xBB\xBF", 3);

// The characters QString::trimmed() removes that are ASCII; every other character it removes
// is not, so a line with such bytes is decoded before it is looked at.
bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isAscii(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QByteArrayView trimmedOfBlanks(QByteArrayView bytes) {
    while (!bytes.isEmpty() && bytes.front() == ' ')
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    return bytes;
}

// The section name of a header line "[name]" of a decoded text; false when it is no header.
bool sectionNameOfText(QStringView line, QString *name) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    *name = trimBlanks(trimmed.mid(1, close - 1).toString());
    return true;
}

bool isComment(QByteArrayView line) {
    for (const char c : line) {
        if (c == ' ' || c == '\t')
            continue;
        return c == ';' || c == '#';
    }
    return false;
}

// Line breaks and NUL characters would split the line when the file is read again.
QString oneLine(QString text) {
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return text;
}

} // namespace

IniText IniText::fromBytes(const QByteArray &bytes) {
    // The byte order mark is taken off before any line is looked at: it would hide a section
    // header on the first line, and it says nothing about lines an old editor added later.
    const bool byteOrderMark = bytes.startsWith(Utf8ByteOrderMark);
    IniText ini = fromSource(bytes, byteOrderMark ? Utf8ByteOrderMark.size() : 0);
    ini.byteOrderMark_ = byteOrderMark;
    return ini;
}

IniText IniText::fromSource(const QByteArray &bytes, qsizetype from) {
    IniText ini;
    ini.source_ = bytes;
    // Lines are cut at ASCII bytes, which are never part of a longer UTF-8 sequence: when the
    // whole text is UTF-8, so is every line, and the usual file needs no check line by line.
    const bool allUtf8 = QByteArrayView(bytes).sliced(from).isValidUtf8();
    qsizetype nextLf = bytes.indexOf('\n', from);
    qsizetype nextCr = bytes.indexOf('\r', from);
    qsizetype start = from;
    while (start < bytes.size()) {
        if (nextLf >= 0 && nextLf < start)
            nextLf = bytes.indexOf('\n', start);
        if (nextCr >= 0 && nextCr < start)
            nextCr = bytes.indexOf('\r', start);
        Line line;
        line.start = start;
        qsizetype end = bytes.size();
        if (nextCr >= 0 && (nextLf < 0 || nextCr < nextLf)) {
            end = nextCr;
            line.ending = nextLf == nextCr + 1 ? Ending::CrLf : Ending::Cr;
            start = end + (line.ending == Ending::CrLf ? 2 : 1);
        } else if (nextLf >= 0) {
            end = nextLf;
            line.ending = Ending::Lf;
            start = end + 1;
        } else {
            start = end;
        }
        line.size = end - line.start;
        line.windows1252 =
            !allUtf8 && !QByteArrayView(bytes).sliced(line.start, line.size).isValidUtf8();
        ini.lines_.append(line);
    }
    return ini;
}

QByteArrayView IniText::lineBytes(qsizetype line) const {
    const Line &at = lines_.at(line);
    if (at.isChanged)
        return at.changed;
    return QByteArrayView(source_).sliced(at.start, at.size);
}

QString IniText::decode(qsizetype line, QByteArrayView part) const {
    if (lines_.at(line).windows1252)
        return decodeWindows1252(part);
    return decodeUtf8(part);
}

bool IniText::sectionName(qsizetype line, QString *name) const {
    // Looks at the first character before anything else: most lines are long script texts.
    const QByteArrayView bytes = lineBytes(line);
    qsizetype first = 0;
    while (first < bytes.size() && isAsciiSpace(bytes.at(first)))
        ++first;
    if (first == bytes.size())
        return false;
    if (static_cast<unsigned char>(bytes.at(first)) >= 0x80)
        return sectionNameOfText(decode(line, bytes), name); // perhaps a blank beyond ASCII
    if (bytes.at(first) != '[')
        return false;
    const qsizetype close = bytes.indexOf(']', first);
    if (close < 0)
        return false;
    *name = trimBlanks(decode(line, bytes.sliced(first + 1, close - first - 1)));
    return true;
}

bool IniText::isBlank(qsizetype line) const {
    const QByteArrayView bytes = lineBytes(line);
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return QStringView(decode(line, bytes)).trimmed().isEmpty();
        if (!isAsciiSpace(c))
            return false;
    }
    return true;
}

qsizetype IniText::findSection(const QString &section) const {
    QString name;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (sectionName(i, &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const {
    QString name;
    qsizetype i = header + 1;
    while (i < lines_.size() && !sectionName(i, &name))
        ++i;
    return i;
}

IniText::KeyLine IniText::findKey(const QString &section, const QString &key) const {
    const qsizetype header = findSection(section);
    if (header < 0)
        return {};
    const QString wanted = trimBlanks(key);
    // ASCII keys (all of Telmaris's own) are compared as bytes; others as decoded text, since
    // a character beyond ASCII may equal an ASCII one without regard to case.
    const QByteArray wantedAscii = isAscii(wanted) ? wanted.toLatin1() : QByteArray();
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QByteArrayView bytes = lineBytes(i);
        const qsizetype equals = bytes.indexOf('=');
        if (equals < 0 || isComment(bytes))
            continue;
        const QByteArrayView name = trimmedOfBlanks(bytes.first(equals));
        const bool same = !wantedAscii.isNull() && isAscii(name)
                              ? name.compare(wantedAscii, Qt::CaseInsensitive) == 0
                              : decode(i, name).compare(wanted, Qt::CaseInsensitive) == 0;
        if (same)
            return {i, equals + 1};
    }
    return {};
}

QString IniText::value(const QString &section, const QString &key) const {
    const KeyLine found = findKey(section, key);
    if (found.line < 0)
        return {};
    return decode(found.line, trimmedOfBlanks(lineBytes(found.line).sliced(found.valueStart)));
}

bool IniText::contains(const QString &section, const QString &key) const {
    return findKey(section, key).line >= 0;
}

IniText::Ending IniText::newLineEnding() const {
    for (const Line &line : lines_) {
        if (line.ending != Ending::None)
            return line.ending;
    }
#ifdef Q_OS_WIN
    return Ending::CrLf;
#else
    return Ending::Lf;
#endif
}

IniText::Ending IniText::endingBefore(qsizetype next, Ending usual) const {
    if (usual == Ending::Cr && next < lines_.size() && lines_.at(next).ending == Ending::Lf &&
        lineBytes(next).isEmpty())
        return Ending::CrLf;
    return usual;
}

IniText::Ending IniText::breakLastLine(Ending usual) {
    if (lines_.isEmpty())
        return usual;
    Ending &last = lines_.last().ending;
    if (last != Ending::None)
        return usual;
    last = usual;
    return Ending::None;
}

void IniText::setValue(const QString &section, const QString &key, const QString &value) {
    const QString cleanKey = trimBlanks(oneLine(key));
    const QByteArray cleanValue = oneLine(value).toUtf8();
    const KeyLine found = findKey(section, cleanKey);
    if (found.line >= 0) {
        // Keep the key as spelled in the file and the blanks after "=".
        const QByteArrayView bytes = lineBytes(found.line);
        qsizetype valueStart = found.valueStart;
        while (valueStart < bytes.size() && bytes.at(valueStart) == ' ')
            ++valueStart;
        // The same value again leaves the line alone, in its own bytes and code page.
        const QByteArrayView oldValue = bytes.sliced(valueStart);
        if (lines_.at(found.line).windows1252
                ? decode(found.line, oldValue) == QString::fromUtf8(cleanValue)
                : oldValue == cleanValue)
            return;
        QByteArray changed = decode(found.line, bytes.first(valueStart)).toUtf8() + cleanValue;
        Line &line = lines_[found.line];
        line.changed = std::move(changed);
        line.isChanged = true;
        line.windows1252 = false;
        return;
    }

    const Ending ending = newLineEnding();
    Line keyLine{0, 0, cleanKey.toUtf8() + '=' + cleanValue, true, ending, false};
    const qsizetype header = findSection(section);
    if (header < 0) {
        Line headerLine{0,    0,      '[' + trimBlanks(oneLine(section)).toUtf8() + ']',
                        true, ending, false};
        keyLine.ending = breakLastLine(ending);
        lines_.append(headerLine);
        lines_.append(keyLine);
        return;
    }
    // After the section's last line that is not blank, so that blank lines before the next
    // section stay where they are.
    qsizetype insertAt = sectionEnd(header);
    while (insertAt > header + 1 && isBlank(insertAt - 1))
        --insertAt;
    keyLine.ending =
        insertAt == lines_.size() ? breakLastLine(ending) : endingBefore(insertAt, ending);
    lines_.insert(insertAt, keyLine);
}

QString IniText::toText() const {
    QString text;
    text.reserve(source_.size() + lines_.size() * 2);
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        text += decode(i, lineBytes(i));
        switch (lines_.at(i).ending) {
        case Ending::None:
            break;
        case Ending::Lf:
            text += u'\n';
            break;
        case Ending::CrLf:
            text += u"\r\n";
            break;
        case Ending::Cr:
            text += u'\r';
            break;
        }
    }
    return text;
}

QByteArray IniText::toBytes() const {
    qsizetype size = Utf8ByteOrderMark.size();
    for (qsizetype i = 0; i < lines_.size(); ++i)
        size += lineBytes(i).size() + 2;
    QByteArray bytes;
    bytes.reserve(size); // one allocation for a file of megabytes
    if (byteOrderMark_)
        bytes += Utf8ByteOrderMark;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        bytes += lineBytes(i);
        switch (lines_.at(i).ending) {
        case Ending::None:
            break;
        case Ending::Lf:
            bytes += '\n';
            break;
        case Ending::CrLf:
            bytes += "\r\n";
            break;
        case Ending::Cr:
            bytes += '\r';
            break;
        }
    }
    return bytes;
}

} // namespace telmaris
