#pragma once
// Reading the settings record at start-up and writing it back at a normal end.

#include "store/IniFile.h"
#include "store/StartData.h"

#include <QString>
#include <array>

namespace telmaris {

struct StoredStartData {
    StartData data;                 // every field valid (defaults applied)
    bool askToCheckPort = false;    // show "Bitte überprüfen Sie die Port-Einstellung."
    std::array<QString, 100> names; // SkriptName1..100 as read (not trimmed)
};

// usablePorts[i] tells whether COM i+1 could be opened by the probe; at least one is true.
StoredStartData readStartDataFromIniFile(const IniSnapshot &ini,
                                         const std::array<bool, 4> &usablePorts);

// The settings record as the entries of section "Data": ComPort, ModemReset, ModemInit,
// ModemSpeed, DialPuls, LineLen, Umbruch, SkriptName1..100 and CurrSkript, in that order.
IniEntries startDataEntries(const StartData &data, const std::array<QString, 100> &names);

// Writes ComPort, ModemReset, ModemInit, ModemSpeed, DialPuls, LineLen, Umbruch,
// SkriptName1..100 and CurrSkript in that order, in one read-modify-write.
bool writeStartDataToIniFile(IniFile &ini, const StartData &data,
                             const std::array<QString, 100> &names, QString *error = nullptr);

} // namespace telmaris
