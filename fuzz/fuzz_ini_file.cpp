// The settings file's reader and updater take any bytes. Writing a value changes exactly the one
// key it was written to: whatever the value holds (line breaks, NUL, brackets, "="), it reads
// back as that key's value, no other key appears or changes, and no other line of the file is
// lost or altered: lines not written keep their bytes, whatever their code page. CR LF, LF and a
// lone CR each end a line. The written bytes read back as the same text.
//
// Input: the file's bytes, then after a 0xFF 0xFE marker up to three writes, each one byte
// choosing section and key followed by the value up to the next 0x01 byte.
#include "FuzzCheck.h"
#include "common/Numbers.h"
#include "store/IniText.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using telmaris::IniText;
using namespace Qt::StringLiterals;

namespace {

const char *const Sections[] = {"Data", "Ports", "data", "DATA", "Other"};
const char *const Keys[] = {"SkriptText1", "skripttext1", "SkriptName7", "CurrSkript",
                            "ModemInit",   "COM1",        " LineLen ",   "Umbruch"};

// The lines of a text: CR LF, LF and a lone CR each end one.
QStringList lines(const QString &text) {
    return QString(text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').split(u'\n');
}

// Every (section, key) a line of the text could stand for, found without the reader under test.
QList<QPair<QString, QString>> candidateKeys(const QString &text) {
    QList<QPair<QString, QString>> keys;
    QString section;
    bool inSection = false;
    for (const QString &line : lines(text)) {
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.startsWith(u'[') && trimmed.indexOf(u']') > 0) {
            section = telmaris::trimBlanks(trimmed.mid(1, trimmed.indexOf(u']') - 1).toString());
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals > 0 && keys.size() < 64)
            keys.append({section, telmaris::trimBlanks(line.left(equals))});
    }
    return keys;
}

QString oneLine(QString value) {
    for (QChar &c : value) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return telmaris::trimBlanks(value);
}

qsizetype lineBreaks(const QString &text) {
    return text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n"_s);
}

bool sameKey(const QPair<QString, QString> &a, const QString &section, const QString &key) {
    return telmaris::trimBlanks(a.first).compare(telmaris::trimBlanks(section),
                                                 Qt::CaseInsensitive) == 0 &&
           a.second.compare(telmaris::trimBlanks(key), Qt::CaseInsensitive) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype marker = input.indexOf("\xff\xfe");
    const QByteArray fileBytes = marker < 0 ? input : input.left(marker);
    QList<QByteArray> writes =
        marker < 0 ? QList<QByteArray>{} : input.mid(marker + 2).split('\x01').mid(0, 3);

    IniText ini = IniText::fromBytes(fileBytes);
    for (const QByteArray &write : writes) {
        if (write.isEmpty())
            continue;
        const auto choice = static_cast<unsigned char>(write.at(0));
        const QString section = QString::fromLatin1(Sections[choice % 5]);
        const QString key = QString::fromLatin1(Keys[(choice / 5) % 8]);
        const QString value = QString::fromUtf8(write.mid(1));

        const IniText old = ini;
        const QString before = old.toText();
        const bool existed = old.contains(section, key);

        ini.setValue(section, key, value);
        const QByteArray bytes = ini.toBytes();
        const IniText reread = IniText::fromBytes(bytes);
        const QString after = reread.toText();

        // The written bytes are the text, and the value is the one key's value.
        FUZZ_CHECK(after == ini.toText());
        FUZZ_CHECK(reread.contains(section, key));
        FUZZ_CHECK(reread.value(section, key) == oneLine(value));

        // Every other key reads as before, and no key appears that was not there.
        const QList<QPair<QString, QString>> others = candidateKeys(before) + candidateKeys(after);
        for (const auto &[s, k] : others) {
            if (sameKey({s, k}, section, key))
                continue;
            FUZZ_CHECK(reread.contains(s, k) == old.contains(s, k));
            FUZZ_CHECK(old.value(s, k) == reread.value(s, k));
        }

        // Other content kept, byte for byte: the change is one run of bytes; what it replaced
        // holds no line break, and it adds one line (or a section header and one line) at most.
        const QByteArray oldBytes = old.toBytes();
        qsizetype bytePrefix = 0;
        while (bytePrefix < oldBytes.size() && bytePrefix < bytes.size() &&
               oldBytes.at(bytePrefix) == bytes.at(bytePrefix))
            ++bytePrefix;
        qsizetype byteSuffix = 0;
        while (byteSuffix < oldBytes.size() - bytePrefix &&
               byteSuffix < bytes.size() - bytePrefix &&
               oldBytes.at(oldBytes.size() - 1 - byteSuffix) ==
                   bytes.at(bytes.size() - 1 - byteSuffix))
            ++byteSuffix;
        const QByteArray removedBytes =
            oldBytes.mid(bytePrefix, oldBytes.size() - bytePrefix - byteSuffix);
        FUZZ_CHECK(!removedBytes.contains('\n') && !removedBytes.contains('\r'));
        qsizetype prefix = 0;
        while (prefix < before.size() && prefix < after.size() &&
               before.at(prefix) == after.at(prefix))
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
               before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
            ++suffix;
        const QStringView removed =
            QStringView(before).mid(prefix, before.size() - prefix - suffix);
        FUZZ_CHECK(!removed.contains(u'\n') && !removed.contains(u'\r'));
        FUZZ_CHECK(lineBreaks(after) - lineBreaks(before) <= (existed ? 0 : 2));
        ini = reread;
    }
    return 0;
}
