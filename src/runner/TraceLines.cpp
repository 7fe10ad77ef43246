#include "runner/TraceLines.h"

#include <QLocale>

namespace telmaris {

namespace {

// The system's long time format without its time-zone field ("t"), which a time of day in a
// trace does not need. Quoted literal text stays as it is.
QString timeFormatWithoutZone() {
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result.append(c);
    }
    return result.trimmed();
}

} // namespace

QString traceLine(const QTime &time, const QString &label, const QString &text) {
    return traceTime(time) + u' ' + label + QStringLiteral(": \u00bb") + text + u'\u00ab';
}

QString traceTime(const QTime &time) {
    static const QString format = timeFormatWithoutZone();
    return QLocale::system().toString(time, format);
}

QString answerTimeOverText(int seconds) {
    return seconds == 1 ? QStringLiteral("keine Antwort nach einer Sekunde")
                        : QStringLiteral("keine Antwort nach %1 Sekunden").arg(seconds);
}

} // namespace telmaris
