#pragma once
// The settings file as text: lines grouped into sections, read and changed without touching
// any other byte. Widget-free and file-free, so a fuzzer can drive it with any input.
//
// A section starts at a line "[name]" (blanks around allowed); a key line is "key=value" where
// the line does not start with ";" or "#". Keys and section names are matched without regard to
// case, the first of duplicate keys wins, and keys and values are trimmed of blanks.
//
// CR LF, LF and a lone CR each end a line (files from Windows, Unix and old editors alike). Every
// line keeps its own line ending; new lines take the file's first line ending.
//
// The code page is decided line by line: a line that is valid UTF-8 is UTF-8, any other line
// Windows-1252 (a file from Windows, or one line of it written by an old editor). A UTF-8 byte
// order mark ahead of the first line is no part of the text and stays in the file.
//
// The text is kept as the file's bytes, and its lines as ranges of them; only a changed line
// holds its own copy (in UTF-8), and only what is looked up is decoded. So a file of many long
// scripts is read without copying or decoding it line by line, and a line that is not changed
// is written back with exactly its own bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace telmaris {

class IniText {
public:
    IniText() = default;
    // From the file's bytes, each line in UTF-8 or Windows-1252.
    static IniText fromBytes(const QByteArray &bytes);

    // The value of key in section, trimmed; the empty text when either is missing.
    QString value(const QString &section, const QString &key) const;
    bool contains(const QString &section, const QString &key) const;

    // Sets key in section: an existing key is changed in place, a new key is appended to its
    // section, the section is appended to the text when missing. Line breaks and NUL characters
    // in key or value are stored as blanks, so a value can never start another key or section.
    void setValue(const QString &section, const QString &key, const QString &value);

    QString toText() const;
    // Unchanged lines as the file had them, changed and new ones in UTF-8, with a byte order
    // mark if the file had one.
    QByteArray toBytes() const;

private:
    enum class Ending : quint8 {
        None, // a last line without a line break
        Lf,
        CrLf,
        Cr,
    };
    struct Line {
        qsizetype start = 0; // range in source_, while the line is unchanged
        qsizetype size = 0;
        QByteArray changed; // the line's text in UTF-8 once it was changed
        bool isChanged = false;
        Ending ending = Ending::None;
        bool windows1252 = false; // the line's bytes are not valid UTF-8
    };
    struct KeyLine {
        qsizetype line = -1;
        qsizetype valueStart = 0; // position of the value within the line's text
    };

    qsizetype findSection(const QString &section) const; // line of the header, or -1
    qsizetype sectionEnd(qsizetype header) const;        // first line after the section
    KeyLine findKey(const QString &section, const QString &key) const;
    Ending newLineEnding() const;
    // The ending of a new line put before line next (or at the end): the usual one, unless a
    // lone CR followed by an empty line's LF would read back as one CR LF break.
    Ending endingBefore(qsizetype next, Ending usual) const;
    QByteArrayView lineBytes(qsizetype line) const;            // without its line ending
    QString decode(qsizetype line, QByteArrayView part) const; // part of that line's bytes
    bool sectionName(qsizetype line, QString *name) const;     // false: no header line
    bool isBlank(qsizetype line) const;
    // The lines of bytes from position from on (after a byte order mark).
    static IniText fromSource(const QByteArray &bytes, qsizetype from);
    // Before a line is appended after the last one: a last line without a line break takes
    // the usual ending. Returns the ending of the appended line: none when the file ended
    // without a line break, so that it still does.
    Ending breakLastLine(Ending usual);

    QByteArray source_; // the file's bytes
    QList<Line> lines_;
    bool byteOrderMark_ = false;
};

} // namespace telmaris
