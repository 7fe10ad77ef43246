#include "runner/TraceLines.h"

#include <QLocale>

namespace telmaris {

namespace {

// The system's long time format without its time-zone field ("t"), which a time of day in a
// trace does not need. Quoted literal text stays as it is.
QString TimeFormatWithoutZone() {
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

QString Quoted(const QTime &time, const QString &label, const QString &text) {
    return TraceTime(time) + u' ' + label + QStringLiteral(": \u00bb") + text + u'\u00ab';
}

} // namespace

QString TraceTime(const QTime &time) {
    static const QString format = TimeFormatWithoutZone();
    return QLocale::system().toString(time, format);
}

QString SkriptLineTrace(const QTime &time, const QString &command) {
    return Quoted(time, QStringLiteral("SkriptLine"), command);
}

QString RcvStringTrace(const QTime &time, const QString &line) {
    return Quoted(time, QStringLiteral("RcvString"), line);
}

QString ErrOccuredTrace(const QTime &time, bool errOccured) {
    return Quoted(time, QStringLiteral("ErrOccured"),
                  errOccured ? QStringLiteral("Wahr") : QStringLiteral("Falsch"));
}

QString AnswerTimeOverTrace(const QTime &time, int seconds) {
    return Quoted(time, QStringLiteral("AntwortZeit"),
                  QStringLiteral("keine Antwort nach %1 Sekunden").arg(seconds));
}

} // namespace telmaris
