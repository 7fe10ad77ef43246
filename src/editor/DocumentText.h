#pragma once
// The bridge between the program's CR LF text and the text document of an editor widget.
// The document keeps one paragraph per line, separated by U+2029. A lone CR or LF inside a line
// is part of that line's text, so the document holds it as a stand-in character that no
// paragraph break is made of; the settings file's 8-bit code page cannot hold these stand-ins,
// so no stored script contains them. Every character maps to exactly one document character
// except a CR LF pair, which is one paragraph break.

#include <QString>

namespace telmaris {

inline constexpr char16_t kLoneCr = 0xE00D; // a CR that is not followed by an LF
inline constexpr char16_t kLoneLf = 0xE00A; // an LF that does not follow a CR

QString ToDocumentText(const QString &crlfText);
QString FromDocumentText(const QString &documentText);

// One replacement that turns one CR LF text into another: the characters from start on,
// removed of them, give way to inserted. Neither end touches a CR or LF, so a line break is
// always replaced whole and the document text of the pieces matches the document text of the
// whole.
struct TextChange {
    int start = 0;
    int removed = 0;
    QString inserted;
};
TextChange DiffTexts(const QString &before, const QString &after);

} // namespace telmaris
