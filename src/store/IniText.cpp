#include "store/IniText.h"

#include "common/Numbers.h"
#include "store/IniCodePage.h"

namespace telmaris {

namespace {

// The section name of a header line "[name]", or a null text when the line is no header.
// Looks at the first character before copying anything: most lines are long script texts.
QString SectionName(const QString &line) {
    const QStringView trimmed = QStringView(line).trimmed();
    if (!trimmed.startsWith(u'['))
        return {};
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return {};
    QString name = TrimBlanks(trimmed.mid(1, close - 1).toString());
    if (name.isNull())
        name = QStringLiteral(""); // "[]" is a header too, of the empty name
    return name;
}

bool IsComment(const QString &line) {
    for (const QChar c : line) {
        if (c == u' ' || c == u'\t')
            continue;
        return c == u';' || c == u'#';
    }
    return false;
}

// Line breaks and NUL characters would split the line when the file is read again.
QString OneLine(QString text) {
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return text;
}

} // namespace

IniText IniText::Parse(const QString &text) {
    IniText ini;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        if (lf < 0) {
            ini.lines_.append({text.mid(start), QString()});
            break;
        }
        const bool crlf = lf > start && text.at(lf - 1) == u'\r';
        const qsizetype end = crlf ? lf - 1 : lf;
        ini.lines_.append(
            {text.mid(start, end - start), crlf ? QStringLiteral("\r\n") : QStringLiteral("\n")});
        start = lf + 1;
    }
    return ini;
}

IniText IniText::FromBytes(const QByteArray &bytes) {
    const DecodedIniBytes decoded = DecodeIniBytes(bytes);
    IniText ini = Parse(decoded.text);
    ini.byteOrderMark_ = decoded.hadByteOrderMark;
    return ini;
}

qsizetype IniText::findSection(const QString &section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString name = SectionName(lines_.at(i).text);
        if (!name.isNull() && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < lines_.size() && SectionName(lines_.at(i).text).isNull())
        ++i;
    return i;
}

IniText::KeyLine IniText::findKey(const QString &section, const QString &key) const {
    const qsizetype header = findSection(section);
    if (header < 0)
        return {};
    const QString wanted = TrimBlanks(key);
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString &text = lines_.at(i).text;
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0 || IsComment(text))
            continue;
        if (TrimBlanks(text.left(equals)).compare(wanted, Qt::CaseInsensitive) == 0)
            return {i, equals + 1};
    }
    return {};
}

QString IniText::value(const QString &section, const QString &key) const {
    const KeyLine found = findKey(section, key);
    if (found.line < 0)
        return {};
    return TrimBlanks(lines_.at(found.line).text.mid(found.valueStart));
}

bool IniText::contains(const QString &section, const QString &key) const {
    return findKey(section, key).line >= 0;
}

QString IniText::newLineEnding() const {
    for (const Line &line : lines_) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("\r\n");
#else
    return QStringLiteral("\n");
#endif
}

void IniText::setValue(const QString &section, const QString &key, const QString &value) {
    const QString cleanKey = TrimBlanks(OneLine(key));
    const QString cleanValue = OneLine(value);
    const KeyLine found = findKey(section, cleanKey);
    if (found.line >= 0) {
        // Keep the key as spelled in the file and the blanks after "=".
        QString &text = lines_[found.line].text;
        qsizetype valueStart = found.valueStart;
        while (valueStart < text.size() && text.at(valueStart) == u' ')
            ++valueStart;
        text = text.left(valueStart) + cleanValue;
        return;
    }

    const QString ending = newLineEnding();
    Line keyLine{cleanKey + u'=' + cleanValue, ending};
    const qsizetype header = findSection(section);
    if (header < 0) {
        Line headerLine{u'[' + TrimBlanks(OneLine(section)) + u']', ending};
        if (!lines_.isEmpty() && lines_.last().ending.isEmpty()) {
            // The file ends without a line break: so does it after the new lines.
            lines_.last().ending = ending;
            keyLine.ending.clear();
        }
        lines_.append(headerLine);
        lines_.append(keyLine);
        return;
    }
    // After the section's last line that is not blank, so that blank lines before the next
    // section stay where they are.
    qsizetype insertAt = sectionEnd(header);
    while (insertAt > header + 1 && QStringView(lines_.at(insertAt - 1).text).trimmed().isEmpty())
        --insertAt;
    if (insertAt == lines_.size() && lines_.last().ending.isEmpty()) {
        lines_.last().ending = ending;
        keyLine.ending.clear();
    }
    lines_.insert(insertAt, keyLine);
}

QString IniText::toText() const {
    QString text;
    for (const Line &line : lines_)
        text += line.text + line.ending;
    return text;
}

QByteArray IniText::toBytes() const {
    return EncodeIniBytes(toText(), byteOrderMark_);
}

} // namespace telmaris
