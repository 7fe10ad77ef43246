// Any script text is cut into lines that cover it exactly, and any line reads as one
// instruction: a keyword only where the line starts with it, the placeholder replaced, a PAUSE
// of 1 to 60 seconds, and command texts that end with CR.
//
// Input: the text typed for EINGABE up to the first NUL byte, then the script text (UTF-8).
#include "FuzzCheck.h"
#include "language/ScriptLanguage.h"

#include "common/Numbers.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace telmaris;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype nul = input.indexOf('\0');
    const QString eingabe = nul < 0 ? QString() : QString::fromUtf8(input.left(nul));
    const QString text = QString::fromUtf8(nul < 0 ? input : input.mid(nul + 1));

    const QList<ScriptLineRange> lines = splitScriptLines(text);
    FUZZ_CHECK(!lines.isEmpty());
    int expectedStart = 0;
    for (const ScriptLineRange &range : lines) {
        FUZZ_CHECK(range.start == expectedStart);
        FUZZ_CHECK(range.length >= 0 && range.start + range.length <= text.size());
        FUZZ_CHECK(scriptLineLength(text, range.start) == range.length);
        const QString line = text.mid(range.start, range.length);
        FUZZ_CHECK(!line.contains(QStringLiteral("\r\n")));
        if (range.start + range.length < text.size())
            FUZZ_CHECK(text.mid(range.start + range.length, 2) == QStringLiteral("\r\n"));
        expectedStart = range.start + range.length + 2;

        const ScriptInstruction instruction = readScriptLine(line, eingabe);
        const QString trimmed = trimBlanks(line);
        if (instruction.keyword != Keyword::None) {
            const qsizetype blank = trimmed.indexOf(u' ');
            const QString word = blank < 0 ? trimmed : trimmed.left(blank);
            FUZZ_CHECK(!word.isEmpty() && word.at(0).isUpper());
            FUZZ_CHECK(word == word.toUpper());
        }
        // Without a placeholder the argument is the rest of the line after the first blank.
        if (!trimmed.contains(QStringLiteral("%EINGABE%"), Qt::CaseInsensitive)) {
            const qsizetype blank = trimmed.indexOf(u' ');
            FUZZ_CHECK(instruction.argument == (blank < 0 ? QString() : trimmed.mid(blank + 1)));
        } else if (!eingabe.contains(u'%')) {
            // The typed text replaces it; with no "%" of its own no placeholder can remain
            // beyond those that other "%" characters of the line could form.
            FUZZ_CHECK(instruction.argument.count(u'%') <= trimmed.count(u'%'));
        }

        const int pause = pauseSeconds(instruction.argument);
        FUZZ_CHECK(pause >= 1 && pause <= 60);
        FUZZ_CHECK(dialCommand(instruction.argument, pause % 2 == 0).endsWith(u'\r'));
        FUZZ_CHECK(modemCommand(instruction.argument).endsWith(u'\r'));
        FUZZ_CHECK(atCommand(instruction.argument).startsWith(QStringLiteral("AT")));
    }
    // The lines and their breaks add up to the whole text.
    FUZZ_CHECK(expectedStart == text.size() + 2 || expectedStart == text.size());
    return 0;
}
