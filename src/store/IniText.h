#pragma once
// The settings file as text: lines grouped into sections, read and changed without touching
// any other byte. Widget-free and file-free, so a fuzzer can drive it with any input.
//
// A section starts at a line "[name]" (blanks around allowed); a key line is "key=value" where
// the line does not start with ";" or "#". Keys and section names are matched without regard to
// case, the first of duplicate keys wins, and keys and values are trimmed of blanks. Every line
// keeps its own line ending; new lines take the file's first line ending. A lone CR at the very
// end of the text is the last line's ending (a CR elsewhere without LF belongs to its line).
//
// The lines are kept as ranges of the one decoded text; only a changed line holds its own copy,
// so a file of many long scripts is read without copying it line by line.

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
    enum class Ending : quint8 {
        None, // a last line without a line break
        Lf,
        CrLf,
        Cr, // a lone CR ending the text
    };
    struct Line {
        qsizetype start = 0; // range in source_, while the line is unchanged
        qsizetype size = 0;
        QString changed; // the line's text once it was changed
        bool isChanged = false;
        Ending ending = Ending::None;
    };
    struct KeyLine {
        qsizetype line = -1;
        qsizetype valueStart = 0; // position of the value within the line's text
    };

    qsizetype findSection(const QString &section) const; // line of the header, or -1
    qsizetype sectionEnd(qsizetype header) const;        // first line after the section
    KeyLine findKey(const QString &section, const QString &key) const;
    Ending newLineEnding() const;
    QStringView lineText(const Line &line) const; // without its line ending
    QStringView lineText(qsizetype line) const { return lineText(lines_.at(line)); }
    // Before a line is appended after the last one: a last line without a line break, or
    // ending in a lone CR, takes the usual ending. Returns the ending of the appended line:
    // none when the file ended without a line break, so that it still does.
    Ending breakLastLine(Ending usual);

    QString source_;
    QList<Line> lines_;
    bool byteOrderMark_ = false;
};

} // namespace telmaris
