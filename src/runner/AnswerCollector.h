#pragma once
// Collects the modem's answer lines from the bytes received: capitals only, a CR completes a
// line, other control characters (the line feed among them) are dropped. A completed line is
// a final answer when it ends with "OK", "ERROR" or "BUSY".

#include <QByteArray>
#include <QList>
#include <QString>

namespace telmaris {

struct AnswerLine {
    QString text;
    bool final = false; // ends with OK, ERROR or BUSY
    bool error = false; // ends with ERROR
};

class AnswerCollector {
public:
    // A line that never sees a CR keeps only its last characters, so a noisy line cannot
    // grow without bound; the end of a line is all that decides about it.
    static constexpr qsizetype MaxLineLength = 4096;

    // Takes received bytes (one character per byte) and returns the lines they complete.
    QList<AnswerLine> feed(const QByteArray &bytes);

    // The characters of the line not yet completed (RcvString).
    const QString &pending() const { return pending_; }

private:
    QString pending_;
};

// The status text that shows the modem's latest answer.
QString lastAnswerStatus(const QString &line);

} // namespace telmaris
