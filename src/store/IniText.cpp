#include "store/IniText.h"

#include "common/Numbers.h"
#include "store/IniCodePage.h"

namespace telmaris {

namespace {

QStringView TrimmedOfBlanks(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// The section name of a header line "[name]" into name; false when the line is no header.
// Looks at the first character before anything else: most lines are long script texts.
bool SectionName(QStringView line, QStringView *name) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    *name = TrimmedOfBlanks(trimmed.mid(1, close - 1)); // "[]" is a header too, of the empty name
    return true;
}

bool IsHeader(QStringView line) {
    QStringView name;
    return SectionName(line, &name);
}

bool IsComment(QStringView line) {
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
    ini.source_ = text;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lf = text.indexOf(u'\n', start);
        if (lf < 0) {
            // A lone CR at the very end is this line's ending, not part of its text: otherwise
            // a line appended later would turn it into half of a CR LF break.
            const bool cr = text.back() == u'\r';
            ini.lines_.append({start, text.size() - start - (cr ? 1 : 0), QString(), false,
                               cr ? Ending::Cr : Ending::None});
            break;
        }
        const bool crlf = lf > start && text.at(lf - 1) == u'\r';
        const qsizetype end = crlf ? lf - 1 : lf;
        ini.lines_.append({start, end - start, QString(), false, crlf ? Ending::CrLf : Ending::Lf});
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

QStringView IniText::lineText(const Line &line) const {
    if (line.isChanged)
        return line.changed;
    return QStringView(source_).sliced(line.start, line.size);
}

qsizetype IniText::findSection(const QString &section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        QStringView name;
        if (SectionName(lineText(i), &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < lines_.size() && !IsHeader(lineText(i)))
        ++i;
    return i;
}

IniText::KeyLine IniText::findKey(const QString &section, const QString &key) const {
    const qsizetype header = findSection(section);
    if (header < 0)
        return {};
    const QStringView wanted = TrimmedOfBlanks(key);
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QStringView text = lineText(i);
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0 || IsComment(text))
            continue;
        if (TrimmedOfBlanks(text.first(equals)).compare(wanted, Qt::CaseInsensitive) == 0)
            return {i, equals + 1};
    }
    return {};
}

QString IniText::value(const QString &section, const QString &key) const {
    const KeyLine found = findKey(section, key);
    if (found.line < 0)
        return {};
    return TrimmedOfBlanks(lineText(found.line).sliced(found.valueStart)).toString();
}

bool IniText::contains(const QString &section, const QString &key) const {
    return findKey(section, key).line >= 0;
}

IniText::Ending IniText::newLineEnding() const {
    for (const Line &line : lines_) {
        if (line.ending == Ending::Lf || line.ending == Ending::CrLf)
            return line.ending;
    }
#ifdef Q_OS_WIN
    return Ending::CrLf;
#else
    return Ending::Lf;
#endif
}

IniText::Ending IniText::breakLastLine(Ending usual) {
    if (lines_.isEmpty())
        return usual;
    Ending &last = lines_.last().ending;
    const Ending appended = last == Ending::None ? Ending::None : usual;
    if (last == Ending::None || last == Ending::Cr)
        last = usual;
    return appended;
}

void IniText::setValue(const QString &section, const QString &key, const QString &value) {
    const QString cleanKey = TrimBlanks(OneLine(key));
    const QString cleanValue = OneLine(value);
    const KeyLine found = findKey(section, cleanKey);
    if (found.line >= 0) {
        // Keep the key as spelled in the file and the blanks after "=".
        Line &line = lines_[found.line];
        const QStringView text = lineText(line);
        qsizetype valueStart = found.valueStart;
        while (valueStart < text.size() && text.at(valueStart) == u' ')
            ++valueStart;
        line.changed = text.first(valueStart).toString() + cleanValue;
        line.isChanged = true;
        return;
    }

    const Ending ending = newLineEnding();
    Line keyLine{0, 0, cleanKey + u'=' + cleanValue, true, ending};
    const qsizetype header = findSection(section);
    if (header < 0) {
        Line headerLine{0, 0, u'[' + TrimBlanks(OneLine(section)) + u']', true, ending};
        keyLine.ending = breakLastLine(ending);
        lines_.append(headerLine);
        lines_.append(keyLine);
        return;
    }
    // After the section's last line that is not blank, so that blank lines before the next
    // section stay where they are.
    qsizetype insertAt = sectionEnd(header);
    while (insertAt > header + 1 && lineText(insertAt - 1).trimmed().isEmpty())
        --insertAt;
    if (insertAt == lines_.size())
        keyLine.ending = breakLastLine(ending);
    lines_.insert(insertAt, keyLine);
}

QString IniText::toText() const {
    qsizetype size = 0;
    for (const Line &line : lines_)
        size += lineText(line).size() + 2;
    QString text;
    text.reserve(size); // one allocation for a text of megabytes
    for (const Line &line : lines_) {
        text += lineText(line);
        switch (line.ending) {
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
    return EncodeIniBytes(toText(), byteOrderMark_);
}

} // namespace telmaris
