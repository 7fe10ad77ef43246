// Whatever a modem (or a noisy line) sends, the answer collector yields the same lines however
// the bytes are split into reads, keeps the unfinished line within its bound, and tells final
// answers only by the end of a line.
//
// Input: the first byte chooses where the received bytes are cut into reads; the rest are the
// bytes as they arrive. The input is also repeated to build long lines without CR.
#include "FuzzCheck.h"
#include "runner/AnswerCollector.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using telmaris::AnswerCollector;
using telmaris::AnswerLine;

namespace {

bool same(const QList<AnswerLine> &a, const QList<AnswerLine> &b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).text != b.at(i).text || a.at(i).received != b.at(i).received ||
            a.at(i).kind != b.at(i).kind)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    int step = 1 + data[0] % 17;
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    if (data[0] >= 0xF0) { // a long stretch of the same noise, read in larger pieces
        bytes = bytes.repeated(1 + 3 * AnswerCollector::MaxLineLength / (bytes.size() + 1));
        step *= 211;
    }

    AnswerCollector whole;
    const QList<AnswerLine> all = whole.feed(bytes);

    AnswerCollector pieces;
    QList<AnswerLine> split;
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        split += pieces.feed(bytes.mid(at, step));
        FUZZ_CHECK(pieces.pending().size() <= AnswerCollector::MaxLineLength);
    }
    FUZZ_CHECK(same(all, split));
    FUZZ_CHECK(whole.pending() == pieces.pending());
    // Every CR ends a line, and every LF that does not follow a CR.
    qsizetype ends = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        ends += bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'));
    FUZZ_CHECK(all.size() == ends);

    for (const AnswerLine &line : all) {
        FUZZ_CHECK(line.text.size() <= AnswerCollector::MaxLineLength + 1);
        for (const QChar c : line.text)
            FUZZ_CHECK(c.unicode() >= 32);
        FUZZ_CHECK(line.text == line.received.toUpper());
        FUZZ_CHECK((line.kind == telmaris::AnswerKind::Error) ==
                   line.text.endsWith(QLatin1String("ERROR")));
        FUZZ_CHECK(line.final() == (line.text.endsWith(QLatin1String("ERROR")) ||
                                    line.text.endsWith(QLatin1String("OK")) ||
                                    line.text.endsWith(QLatin1String("BUSY")) ||
                                    line.text.endsWith(QLatin1String("NO DIALTONE")) ||
                                    line.text.endsWith(QLatin1String("NO DIAL TONE")) ||
                                    line.text.endsWith(QLatin1String("NO CARRIER")) ||
                                    line.text.endsWith(QLatin1String("NO ANSWER"))));
    }
    return 0;
}
