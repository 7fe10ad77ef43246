#pragma once
// The one reader of the modem's answers, for the runs and the modem test: a CR, an LF or a
// CR LF ends a line; other control characters are dropped. A completed line is a final answer
// when it ends with "OK", "BUSY" or "ERROR", or with one of the answers a modem gives when a
// dial fails ("NO DIALTONE", "NO CARRIER", "NO ANSWER"); every other line (an echo, RING, a
// caller's number) is information and ends no wait. Each line is judged on its own, so a final
// answer stays final whatever line follows it in the same read.

#include <QByteArray>
#include <QList>
#include <QString>

namespace telmaris {

enum class AnswerKind {
    Information,
    Ok, // OK or BUSY: the command was carried out
    Error,
    NoDialtone,
    NoCarrier,
    NoAnswer,
};

struct AnswerLine {
    QString text;     // in capitals
    QString received; // as received
    AnswerKind kind = AnswerKind::Information;
    bool final() const { return kind != AnswerKind::Information; }
};

class AnswerCollector {
public:
    // A line that never ends keeps only its last characters, so a noisy line cannot grow
    // without bound; the end of a line is all that decides about it.
    static constexpr qsizetype MaxLineLength = 4096;

    // Takes received bytes (one character per byte) and returns the lines they complete.
    QList<AnswerLine> feed(const QByteArray &bytes);

    // The characters of the line not yet completed, as received.
    const QString &pending() const { return pending_; }
    // Forgets the line begun: a new command's answer starts afresh.
    void clear();

private:
    QString pending_;
    bool afterCr_ = false; // an LF right after a CR ends no second line
};

// The status text that shows the modem's latest answer.
QString lastAnswerStatus(const QString &line);

} // namespace telmaris
