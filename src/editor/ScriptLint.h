#pragma once
// What the editor marks in a script line: the keyword that runs, the placeholder, lines that
// look meant to run but will be skipped, and lines whose modem command is longer than many
// modems take, each with the reason in German. Marking changes nothing in what runs; it reads
// a line the way the runner does (blanks trimmed, the keyword is everything before the first
// blank, compared exactly).

#include <QList>
#include <QString>

namespace telmaris {

struct Span {
    int start = 0;
    int length = 0;
    friend bool operator==(const Span &, const Span &) = default;
};

struct LineMarks {
    Span keyword;             // a keyword that runs; length 0 when there is none
    QList<Span> placeholders; // "%EINGABE%" in any letter case, in the argument of such a line
    Span skipped;             // the word that makes the line be skipped; length 0 when none
    QString skipReason;       // why the line will be skipped, for the tooltip
    // The argument of a line that runs but whose command is longer than LongestModemCommand
    // (typed input counts as empty: it is not known yet); length 0 when none. The line is sent
    // all the same, so it is no skipped line.
    Span longCommand;
    QString longCommandReason; // for the tooltip
    // What the tooltip says about the line: why it is skipped, or else why it is long.
    QString reason() const { return skipReason.isEmpty() ? longCommandReason : skipReason; }
};

// line is one line of the script, without its CR LF.
LineMarks checkScriptLine(const QString &line);

// A line of a script that will be skipped although it looks meant to run.
struct MarkedLine {
    int number = 0; // counted from 1, lines as the runner walks them
    QString text;
    QString reason;
    friend bool operator==(const MarkedLine &, const MarkedLine &) = default;
};

// Every such line of a CR LF script text, in order.
QList<MarkedLine> markedLines(const QString &scriptText);

// The question before a run of a script with such lines ("Ja" runs it all the same), and the
// warning line an unattended run prints for one of them on standard error.
QString markedLinesQuestion(const QList<MarkedLine> &lines);
QString markedLineWarning(int slot, const MarkedLine &line);

} // namespace telmaris
