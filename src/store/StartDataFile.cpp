#include "store/StartDataFile.h"

#include "common/Numbers.h"
#include "store/IniFile.h"

namespace telmaris {

namespace {

// A stored whole number inside [low, high], or nothing (no 16-bit number, or outside).
std::optional<qint16> numberInRange(const IniSnapshot &ini, const QString &key, int low, int high) {
    const std::optional<qint16> number = readSettingNumber(ini.value(DataSection, key));
    if (!number || *number < low || *number > high)
        return std::nullopt;
    return number;
}

QString textOrDefault(const IniSnapshot &ini, const QString &key, const QString &fallback) {
    const QString text = trimBlanks(ini.value(DataSection, key));
    return text.isEmpty() ? fallback : text;
}

QString skriptNameKey(int n) {
    return QStringLiteral("SkriptName") + QString::number(n);
}

} // namespace

StoredStartData readStartDataFromIniFile(const IniSnapshot &ini,
                                         const std::array<bool, 4> &usablePorts) {
    StoredStartData stored;
    StartData &data = stored.data;

    // A port in range is taken even when the probe could not open it; otherwise the first
    // usable one, and the user is asked to check the setting.
    if (const auto port = numberInRange(ini, QStringLiteral("ComPort"), 1, 4)) {
        data.comPort = *port;
    } else {
        stored.askToCheckPort = true;
        data.comPort = 1;
        for (qint16 i = 0; i < 4; ++i) {
            if (usablePorts.at(i)) {
                data.comPort = static_cast<qint16>(i + 1);
                break;
            }
        }
    }

    data.modemReset = textOrDefault(ini, QStringLiteral("ModemReset"), DefaultModemReset);
    data.modemInit = textOrDefault(ini, QStringLiteral("ModemInit"), DefaultModemInit);
    data.modemSpeed = numberInRange(ini, QStringLiteral("ModemSpeed"), 1, 9).value_or(4);

    // Missing, empty or no number reads as 0 (tone); every other number means pulse.
    const QString dialPuls = ini.value(DataSection, QStringLiteral("DialPuls"));
    data.dialPuls = readSettingNumber(dialPuls) == qint16(0) ? 0 : 1;

    data.lineLen = numberInRange(ini, QStringLiteral("LineLen"), 1, 120).value_or(65);
    data.umbruch = numberInRange(ini, QStringLiteral("Umbruch"), 0, 1).value_or(0);

    for (int n = 1; n <= SlotCount; ++n)
        stored.names.at(n - 1) = ini.value(DataSection, skriptNameKey(n));

    data.currSkript = numberInRange(ini, QStringLiteral("CurrSkript"), 1, SlotCount).value_or(1);
    return stored;
}

IniEntries startDataEntries(const StartData &data, const std::array<QString, 100> &names) {
    IniEntries entries;
    entries.reserve(108);
    entries.append({QStringLiteral("ComPort"), QString::number(data.comPort)});
    entries.append({QStringLiteral("ModemReset"), data.modemReset});
    entries.append({QStringLiteral("ModemInit"), data.modemInit});
    entries.append({QStringLiteral("ModemSpeed"), QString::number(data.modemSpeed)});
    entries.append({QStringLiteral("DialPuls"), QString::number(data.dialPuls)});
    entries.append({QStringLiteral("LineLen"), QString::number(data.lineLen)});
    entries.append({QStringLiteral("Umbruch"), QString::number(data.umbruch)});
    for (int n = 1; n <= SlotCount; ++n)
        entries.append({skriptNameKey(n), names.at(n - 1)});
    entries.append({QStringLiteral("CurrSkript"), QString::number(data.currSkript)});
    return entries;
}

bool writeStartDataToIniFile(IniFile &ini, const StartData &data,
                             const std::array<QString, 100> &names, QString *error) {
    return ini.writeIniBatch(DataSection, startDataEntries(data, names), error);
}

} // namespace telmaris
