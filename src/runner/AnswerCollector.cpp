#include "runner/AnswerCollector.h"

#include "common/UserTexts.h"

namespace telmaris {

namespace {

// Keeps the tail of a line that has grown beyond the limit.
void keepTail(QString &line, qsizetype limit) {
    if (line.size() > limit)
        line.remove(0, line.size() - limit);
}

AnswerKind kindOf(const QString &line) {
    const auto endsWith = [&line](const char *word) { return line.endsWith(QLatin1String(word)); };
    if (endsWith("ERROR"))
        return AnswerKind::Error;
    if (endsWith("NO DIALTONE") || endsWith("NO DIAL TONE"))
        return AnswerKind::NoDialtone;
    if (endsWith("NO CARRIER"))
        return AnswerKind::NoCarrier;
    if (endsWith("NO ANSWER"))
        return AnswerKind::NoAnswer;
    if (endsWith("OK") || endsWith("BUSY"))
        return AnswerKind::Ok;
    return AnswerKind::Information;
}

} // namespace

QList<AnswerLine> AnswerCollector::feed(const QByteArray &bytes) {
    QList<AnswerLine> lines;
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        const bool lineFeedOfCrLf = c == '\n' && afterCr_;
        afterCr_ = c == '\r';
        if (lineFeedOfCrLf)
            continue;
        if (c == '\r' || c == '\n') {
            keepTail(pending_, MaxLineLength);
            AnswerLine line;
            line.received = pending_;
            line.text = pending_.toUpper();
            line.kind = kindOf(line.text);
            lines.append(line);
            pending_.clear();
        } else if (c >= 32) {
            pending_.append(QLatin1Char(byte));
            // Trimmed in batches so that a long noisy stream costs no quadratic copying.
            if (pending_.size() >= 2 * MaxLineLength)
                keepTail(pending_, MaxLineLength);
        }
    }
    keepTail(pending_, MaxLineLength);
    return lines;
}

void AnswerCollector::clear() {
    pending_.clear();
    afterCr_ = false;
}

QString lastAnswerStatus(const QString &line) {
    return texts::LastAnswerStatus.arg(line);
}

} // namespace telmaris
