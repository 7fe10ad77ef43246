#include "ScriptedDialogs.h"

namespace telmaris::test {

namespace {

// A box as the program's box hook writes it: "[critical] Telmaris: text".
QString describeBox(MessageIcon icon, const QString &title, const QString &text) {
    const char *name = icon == MessageIcon::Critical      ? "critical"
                       : icon == MessageIcon::Information ? "information"
                                                          : "question";
    return QStringLiteral("[%1] %2: %3").arg(QLatin1String(name), title, text);
}

} // namespace

void ScriptedDialogs::showMessage(MessageIcon icon, const QString &title, const QString &text) {
    messages << describeBox(icon, title, text);
    texts << text;
    if (onMessage)
        onMessage(text);
}

bool ScriptedDialogs::askYesNo(const QString &title, const QString &text) {
    messages << describeBox(MessageIcon::Question, title, text);
    texts << text;
    return !yesNo.isEmpty() && yesNo.takeFirst();
}

std::optional<QString> ScriptedDialogs::askText(const QString &title, const QString &prompt,
                                                const QString &proposal) {
    inputs.append({title, prompt, proposal});
    return answers.isEmpty() ? std::nullopt : answers.takeFirst();
}

std::optional<QString> ScriptedDialogs::askSaveFileName(const QString &title,
                                                        const QString &proposal) {
    inputs.append({title, QString(), proposal});
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
}

} // namespace telmaris::test
