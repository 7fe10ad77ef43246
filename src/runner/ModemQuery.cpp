#include "runner/ModemQuery.h"

namespace telmaris {

namespace {

// A final answer ends in one of the result words, as the run takes them.
bool isFinal(const QString &line, bool *error) {
    const QString upper = line.toUpper();
    *error = upper.endsWith(QLatin1String("ERROR"));
    return *error || upper.endsWith(QLatin1String("OK")) || upper.endsWith(QLatin1String("BUSY"));
}

} // namespace

QStringList ModemQuery::commands() {
    return {QStringLiteral("AT"), QStringLiteral("ATI"), QStringLiteral("ATI3")};
}

ModemQuery::ModemQuery(QObject *parent) : QObject(parent) {
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this,
            [this] { endStep(received_ ? QueryOutcome::Unfinished : QueryOutcome::NoAnswer); });
    connect(&line_, &SerialLine::received, this, &ModemQuery::takeBytes);
    connect(&line_, &SerialLine::errorEvent, this, [this] {
        if (running_ && !steps_.isEmpty())
            endStep(QueryOutcome::LineLost);
    });
}

void ModemQuery::start(const QString &device, int baud) {
    steps_.clear();
    openError_.clear();
    running_ = true;
    if (!line_.open(device, baud, true, &openError_)) {
        if (openError_.isEmpty())
            openError_ = device;
        finish();
        return;
    }
    sendNext();
}

void ModemQuery::sendNext() {
    const QStringList all = commands();
    if (steps_.size() == all.size()) {
        finish();
        return;
    }
    QueryStep step;
    step.command = all[steps_.size()];
    steps_.append(step);
    pending_.clear();
    received_ = false;
    Q_EMIT stepStarted(int(steps_.size() - 1));
    line_.write(step.command.toLatin1() + '\r');
    limit_.start(AnswerLimitMs);
}

// A CR or LF ends a line; the other control characters are dropped, like the run drops them.
void ModemQuery::takeBytes(const QByteArray &bytes) {
    if (!running_ || steps_.isEmpty() || !limit_.isActive())
        return; // late bytes of a command whose step is over
    received_ = received_ || !bytes.isEmpty();
    for (const char c : bytes) {
        if (c != '\r' && c != '\n') {
            if (static_cast<unsigned char>(c) >= 32 && pending_.size() < 4096)
                pending_.append(c);
            continue;
        }
        const QString line = QString::fromLatin1(pending_).trimmed();
        pending_.clear();
        if (line.isEmpty())
            continue;
        steps_.last().answer << line;
        bool error = false;
        if (isFinal(line, &error)) {
            endStep(error ? QueryOutcome::Error : QueryOutcome::Ok);
            return;
        }
    }
}

void ModemQuery::endStep(QueryOutcome outcome) {
    limit_.stop();
    QueryStep &step = steps_.last();
    step.outcome = outcome;
    const QString rest = QString::fromLatin1(pending_).trimmed();
    if (!rest.isEmpty())
        step.answer << rest; // what came without a line end, as the user should see it too
    pending_.clear();
    Q_EMIT stepFinished(int(steps_.size() - 1));
    if (outcome == QueryOutcome::LineLost ||
        (steps_.size() == 1 && outcome == QueryOutcome::NoAnswer))
        finish();
    else
        sendNext();
}

void ModemQuery::finish() {
    limit_.stop();
    line_.close();
    running_ = false;
    Q_EMIT finished();
}

} // namespace telmaris
