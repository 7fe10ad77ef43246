#include "runner/ModemQuery.h"

namespace telmaris {

QStringList ModemQuery::commands() {
    return {QStringLiteral("AT"), QStringLiteral("ATI"), QStringLiteral("ATI3")};
}

ModemQuery::ModemQuery(QObject *parent) : QObject(parent) {
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this,
            [this] { endStep(received_ ? QueryOutcome::Unfinished : QueryOutcome::NoAnswer); });
    connect(&line_, &SerialLine::received, this, &ModemQuery::takeBytes);
    connect(&line_, &SerialLine::errorEvent, this, [this] { endStep(QueryOutcome::LineLost); });
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
    answers_.clear();
    received_ = false;
    Q_EMIT stepStarted(int(steps_.size() - 1));
    // The limit runs before the write: a line that turns out gone while writing ends the step,
    // and the query, at once, and nothing is left to run out afterwards.
    stepOpen_ = true;
    limit_.start(AnswerLimitMs);
    line_.write(step.command.toLatin1() + '\r');
}

// Lines as a run reads them; empty lines are left out of what the user sees.
void ModemQuery::takeBytes(const QByteArray &bytes) {
    if (!stepOpen_)
        return; // late bytes of a command whose step is over
    received_ = received_ || !bytes.isEmpty();
    for (const AnswerLine &line : answers_.feed(bytes)) {
        const QString shown = line.received.trimmed();
        if (shown.isEmpty())
            continue;
        steps_.last().answer << shown;
        if (line.final()) {
            endStep(line.kind == AnswerKind::Ok ? QueryOutcome::Ok : QueryOutcome::Error);
            return;
        }
    }
}

void ModemQuery::endStep(QueryOutcome outcome) {
    if (!stepOpen_)
        return; // the step, and maybe the whole query, is over already
    stepOpen_ = false;
    limit_.stop();
    QueryStep &step = steps_.last();
    step.outcome = outcome;
    const QString rest = answers_.pending().trimmed();
    if (!rest.isEmpty())
        step.answer << rest; // what came without a line end, as the user should see it too
    answers_.clear();
    Q_EMIT stepFinished(int(steps_.size() - 1));
    if (outcome == QueryOutcome::LineLost ||
        (steps_.size() == 1 && outcome == QueryOutcome::NoAnswer))
        finish();
    else
        sendNext();
}

void ModemQuery::finish() {
    if (!running_)
        return;
    limit_.stop();
    line_.close();
    running_ = false;
    Q_EMIT finished();
}

} // namespace telmaris
