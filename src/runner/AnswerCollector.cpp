#include "runner/AnswerCollector.h"

#include "common/UserTexts.h"

namespace telmaris {

namespace {

// Keeps the tail of a line that has grown beyond the limit.
void keepTail(QString &line, qsizetype limit) {
    if (line.size() > limit)
        line.remove(0, line.size() - limit);
}

} // namespace

QList<AnswerLine> AnswerCollector::feed(const QByteArray &bytes) {
    QList<AnswerLine> lines;
    const QString received = QString::fromLatin1(bytes).toUpper();
    for (const QChar c : received) {
        if (c == u'\r') {
            keepTail(pending_, MaxLineLength);
            AnswerLine line;
            line.text = pending_;
            line.error = pending_.endsWith(QLatin1String("ERROR"));
            line.final = line.error || pending_.endsWith(QLatin1String("OK")) ||
                         pending_.endsWith(QLatin1String("BUSY"));
            lines.append(line);
            pending_.clear();
        } else if (c.unicode() >= 32) {
            pending_.append(c);
            // Trimmed in batches so that a long noisy stream costs no quadratic copying.
            if (pending_.size() >= 2 * MaxLineLength)
                keepTail(pending_, MaxLineLength);
        }
    }
    keepTail(pending_, MaxLineLength);
    return lines;
}

QString lastAnswerStatus(const QString &line) {
    return texts::LastAnswerStatus.arg(line);
}

} // namespace telmaris
