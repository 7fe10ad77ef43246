#pragma once
// The settings file as text: lines grouped into sections, read and changed without touching
// any other byte. Widget-free and file-free, so a fuzzer can drive it with any input.
//
// A section starts at a line "[name]" (blanks around allowed); a key line is "key=value" where
// the line does not start with ";" or "#". Keys and section names are matched without regard to
// case, the first of duplicate keys wins, and keys and values are trimmed of blanks. Every line
// keeps its own line ending; new lines take the file's first line ending.

#include <QByteArray>
#include <QList>
#include <QString>

namespace telmaris {

class IniText {
public:
    IniText() = default;
    static IniText Parse(const QString &text);
    // From the file's bytes (UTF-8, or Windows-1252 when not valid UTF-8).
    static IniText FromBytes(const QByteArray &bytes);

    // The value of key in section, trimmed; the empty text when either is missing.
    QString value(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;

    // Sets key in section: an existing key is changed in place, a new key is appended to its
    // section, the section is appended to the text when missing. Line breaks and NUL characters
    // in key or value are stored as blanks, so a value can never start another key or section.
    void setValue(const QString &section, const QString &key, const QString &value);

    QString toText() const;
    QByteArray toBytes() const; // UTF-8, with a byte order mark if the file had one

private:
    struct Line {
        QString text;   // without its line ending
        QString ending; // "\r\n", "\n" or "" for a last line without one
    };
    struct KeyLine {
        qsizetype line = -1;
        qsizetype valueStart = 0; // position of the value within the line's text
    };

    qsizetype findSection(const QString &section) const; // line of the header, or -1
    qsizetype sectionEnd(qsizetype header) const;        // first line after the section
    KeyLine findKey(const QString &section, const QString &key) const;
    QString newLineEnding() const;

    QList<Line> lines_;
    bool byteOrderMark_ = false;
};

} // namespace telmaris
