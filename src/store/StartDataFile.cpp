#include "store/StartDataFile.h"

#include "common/Numbers.h"
#include "store/IniFile.h"

namespace telmaris {

namespace {

// A stored whole number inside [low, high], or nothing (no 16-bit number, or outside).
std::optional<qint16> NumberInRange(const IniSnapshot &ini, const QString &key, int low, int high) {
    const std::optional<qint16> number = ReadSettingNumber(ini.value(DataSection, key));
    if (!number || *number < low || *number > high)
        return std::nullopt;
    return number;
}

QString TextOrDefault(const IniSnapshot &ini, const QString &key, const QString &fallback) {
    const QString text = TrimBlanks(ini.value(DataSection, key));
    return text.isEmpty() ? fallback : text;
}

QString SkriptNameKey(int n) {
    return QStringLiteral("SkriptName") + QString::number(n);
}

} // namespace

StoredStartData ReadStartDataFromIniFile(const IniSnapshot &ini,
                                         const std::array<bool, 4> &usablePorts) {
    StoredStartData stored;
    StartData &data = stored.data;

    // A port in range is taken even when the probe could not open it; otherwise the first
    // usable one, and the user is asked to check the setting.
    if (const auto port = NumberInRange(ini, QStringLiteral("ComPort"), 1, 4)) {
        data.ComPort = *port;
    } else {
        stored.askToCheckPort = true;
        data.ComPort = 1;
        for (qint16 i = 0; i < 4; ++i) {
            if (usablePorts.at(i)) {
                data.ComPort = static_cast<qint16>(i + 1);
                break;
            }
        }
    }

    data.ModemReset = TextOrDefault(ini, QStringLiteral("ModemReset"), DefaultModemReset);
    data.ModemInit = TextOrDefault(ini, QStringLiteral("ModemInit"), DefaultModemInit);
    data.ModemSpeed = NumberInRange(ini, QStringLiteral("ModemSpeed"), 1, 9).value_or(4);

    // Missing, empty or no number reads as 0 (tone); every other number means pulse.
    const QString dialPuls = ini.value(DataSection, QStringLiteral("DialPuls"));
    data.DialPuls = ReadSettingNumber(dialPuls) == qint16(0) ? 0 : 1;

    data.LineLen = NumberInRange(ini, QStringLiteral("LineLen"), 1, 120).value_or(65);
    data.Umbruch = NumberInRange(ini, QStringLiteral("Umbruch"), 0, 1).value_or(0);

    for (int n = 1; n <= SlotCount; ++n)
        stored.names.at(n - 1) = ini.value(DataSection, SkriptNameKey(n));

    data.CurrSkript = NumberInRange(ini, QStringLiteral("CurrSkript"), 1, SlotCount).value_or(1);
    return stored;
}

IniEntries StartDataEntries(const StartData &data, const std::array<QString, 100> &names) {
    IniEntries entries;
    entries.reserve(108);
    entries.append({QStringLiteral("ComPort"), QString::number(data.ComPort)});
    entries.append({QStringLiteral("ModemReset"), data.ModemReset});
    entries.append({QStringLiteral("ModemInit"), data.ModemInit});
    entries.append({QStringLiteral("ModemSpeed"), QString::number(data.ModemSpeed)});
    entries.append({QStringLiteral("DialPuls"), QString::number(data.DialPuls)});
    entries.append({QStringLiteral("LineLen"), QString::number(data.LineLen)});
    entries.append({QStringLiteral("Umbruch"), QString::number(data.Umbruch)});
    for (int n = 1; n <= SlotCount; ++n)
        entries.append({SkriptNameKey(n), names.at(n - 1)});
    entries.append({QStringLiteral("CurrSkript"), QString::number(data.CurrSkript)});
    return entries;
}

bool WriteStartDataToIniFile(IniFile &ini, const StartData &data,
                             const std::array<QString, 100> &names, QString *error) {
    return ini.WriteIniBatch(DataSection, StartDataEntries(data, names), error);
}

} // namespace telmaris
