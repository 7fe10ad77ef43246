#include "store/ScriptSlots.h"

#include "common/Numbers.h"
#include "common/UserTexts.h"
#include "store/IniFile.h"

#include <QFileInfo>

namespace telmaris {

namespace {

QString skriptTextKey(int n) {
    return QStringLiteral("SkriptText") + QString::number(n);
}

} // namespace

QString encodeIniText(const QString &text) {
    QString value;
    value.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            value += QStringLiteral("\\\\");
            break;
        case u'\t':
            value += QStringLiteral("\\T");
            break;
        case u'\n':
            value += QStringLiteral("\\L");
            break;
        case u'\r':
            value += QStringLiteral("\\N");
            break;
        case u'"':
            value += QStringLiteral("\\H");
            break;
        default:
            value += c;
        }
    }
    return value;
}

QString decodeIniText(const QString &value) {
    QString text;
    text.reserve(value.size());
    bool escape = false;
    for (const QChar c : value) {
        if (!escape) {
            if (c == u'\\')
                escape = true;
            else
                text += c;
            continue;
        }
        escape = false;
        switch (c.toUpper().unicode()) {
        case u'T':
            text += u'\t';
            break;
        case u'N':
            text += u'\r';
            break;
        case u'L':
            text += u'\n';
            break;
        case u'H':
            text += u'"';
            break;
        default:
            text += c; // an unknown escape, or a second backslash, gives the bare character
        }
    }
    return text; // a backslash at the very end is dropped
}

void ScriptSlots::readCurrSkriptText(int n, EditorText &editor) {
    readCurrSkriptText(n, ini_.snapshot(), editor);
}

QString storedSkriptText(int n, const IniSnapshot &ini) {
    return decodeIniText(trimBlanks(ini.value(DataSection, skriptTextKey(n))));
}

void ScriptSlots::readCurrSkriptText(int n, const IniSnapshot &ini, EditorText &editor) {
    editor.setText(storedSkriptText(n, ini));
    known_[n] = ini.value(DataSection, skriptTextKey(n));
    skriptChanged = false;
}

bool ScriptSlots::changedElsewhere(int n) const {
    const auto known = known_.constFind(n);
    if (known == known_.constEnd() || !QFileInfo(ini_.path()).isFile())
        return false;
    // A file that cannot be read now tells nothing of other copies; the write reports it.
    QString readError;
    const IniSnapshot now = ini_.snapshot(&readError);
    return readError.isEmpty() && now.value(DataSection, skriptTextKey(n)) != *known;
}

QPair<QString, QString> ScriptSlots::skriptTextEntry(int n, const EditorText &editor) {
    return {skriptTextKey(n), encodeIniText(trimBlanks(editor.text()))};
}

bool ScriptSlots::writeCurrSkriptText(int n, const EditorText &editor, QString *error) {
    if (!skriptChanged)
        return true;
    const auto [key, value] = skriptTextEntry(n, editor);
    if (!ini_.writeIni(key, value, error))
        return false; // still changed: the next leave, run or end tries again
    known_[n] = value;
    skriptChanged = false;
    return true;
}

QString scriptNotSavedMessage(int n, const QString &reason) {
    return texts::ScriptNotSavedMessage.arg(QString::number(n), reason);
}

QString settingsNotSavedMessage(const QString &reason) {
    return texts::SettingsNotSavedMessage.arg(reason);
}

} // namespace telmaris
