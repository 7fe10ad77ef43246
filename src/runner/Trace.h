#pragma once
// Receives the trace lines of the modem dialogue (only in trace mode).

#include <QString>

namespace telmaris {

class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void addTrace(const QString &line) = 0;
};

// The separator line that starts every run in the trace.
inline const QString TraceSeparator = QStringLiteral("_________________________");

} // namespace telmaris
