#pragma once
// The script language: its keywords, one line of a script to one instruction, the PAUSE
// argument, the command text each sending keyword writes to the modem, and the way a script
// text is cut into lines. The editor's marks and the run both read lines through it.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace telmaris {

enum class Keyword {
    None, // not a keyword: the line does nothing
    Pause,
    Tonwahl,
    Impulswahl,
    Modem,
    Hinweis,
    Dialog,
    Eingabe,
    Waehle,
    Auflegen,
    Flash,
    Erdtaste,
};

// The keyword word is, compared exactly (case-sensitively); None when it is none.
Keyword keywordOf(const QString &word);

// The eleven keywords as they are written: in capitals, "WÄHLE" with the capital A-umlaut.
const QStringList &scriptKeywords();

struct ScriptInstruction {
    Keyword keyword = Keyword::None;
    QString argument; // with every "%EINGABE%" (any letter case) replaced
};

// Reads one script line: blanks trimmed at both ends, the keyword before the first blank
// (compared case-sensitively), the argument after it unchanged except for the placeholder.
ScriptInstruction readScriptLine(const QString &line, const QString &eingabeText);

// The answer to an EINGABE box as the script uses it: control characters (line breaks, tabs,
// the rest of C0 and DEL) removed, everything else as typed. A pasted line break would end a
// modem command early.
QString eingabeAnswer(const QString &typed);

// The seconds a PAUSE argument asks for: its leading number read leniently, rounded half to
// even and clamped to 1..60.
int pauseSeconds(const QString &argument);

// Command texts, each ended by CR.
QString atCommand(const QString &body); // "AT" + body, for ModemReset and ModemInit
QString hangUpCommand();                // AUFLEGEN, and the hang-up after an abort
QString flashCommand();                 // FLASH and ERDTASTE
QString dialCommand(const QString &dialString, bool pulseDialing); // WÄHLE
QString modemCommand(const QString &argument);                     // MODEM

// The command a line with this instruction writes to the modem, ended by CR; nothing for a line
// that sends none (PAUSE, the boxes, the dial method, a remark).
std::optional<QString> sentCommand(const ScriptInstruction &instruction, bool pulseDialing);

// The longest command many modems take: their command buffer holds 40 characters, counted from
// "AT" to the last one before the CR. A longer one is refused with ERROR or cut off.
inline constexpr int LongestModemCommand = 40;
// A command's length as a modem's buffer counts it: without its closing CR.
int modemCommandLength(const QString &command);

// One line of a script text: its start and length in the CR LF text, counted from 0.
struct ScriptLineRange {
    int start = 0;
    int length = 0;
    bool operator==(const ScriptLineRange &) const = default;
};

// The length of the line that begins at start: up to the first CR LF at or after start, or to
// the end of the text. A lone CR or LF does not end a line.
int scriptLineLength(const QString &text, int start);

// Every line of a script text the way the runner walks it: lines end at CR LF, a final line
// break adds no line, an empty text has one empty line.
QList<ScriptLineRange> splitScriptLines(const QString &text);

// Whether a run of the script text reaches an EINGABE line, read the way the runner reads it.
bool asksForInput(const QString &scriptText);

} // namespace telmaris
