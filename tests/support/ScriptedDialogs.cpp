#include "ScriptedDialogs.h"

namespace telmaris::test {

void ScriptedDialogs::ShowMessage(MessageIcon icon, const QString &title, const QString &text) {
    messages.append({icon, title, text});
    if (onMessage)
        onMessage(messages.last());
}

std::optional<QString> ScriptedDialogs::AskText(const QString &title, const QString &prompt,
                                                const QString &proposal) {
    inputs.append({title, prompt, proposal});
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const ShownBox &box : messages)
        texts << box.text;
    return texts;
}

} // namespace telmaris::test
