#pragma once
// The settings record and the fixed table of modem speeds.

#include <QString>
#include <array>

namespace telmaris {

// Serial speeds in baud; a setting ModemSpeed n (1..9) means ModemSpeeds[n - 1].
inline constexpr std::array<int, 9> ModemSpeeds{110,  300,   600,   1200, 2400,
                                                9600, 14400, 19200, 28800};
inline constexpr int ProbeSpeedPosition = 4; // 1200 baud, used to probe the ports at start-up

inline constexpr int SlotCount = 100;  // script slots 1..100
inline constexpr int OptionsTab = 101; // the tab after the script tabs

inline const QString DefaultModemReset = QStringLiteral("&F");
inline const QString DefaultModemInit = QStringLiteral("V1 Q0 M1 L3 X0 E0 S0=0 S6=1 S8=1");

struct StartData {
    qint16 comPort = 1;                     // 1..4
    QString modemReset = DefaultModemReset; // without the leading "AT"
    QString modemInit = DefaultModemInit;   // without the leading "AT"
    qint16 modemSpeed = 4;                  // 1..9, position in ModemSpeeds
    qint16 dialPuls = 0;                    // 0 tone, 1 pulse
    qint16 lineLen = 65;                    // 1..120, separator-line length
    qint16 umbruch = 0;                     // 0 no wrap, 1 wrap
    qint16 currSkript = 1;                  // 1..100
};

// The baud rate of a speed position (1..9).
inline int baudOfSpeedPosition(int position) {
    return ModemSpeeds.at(position - 1);
}

} // namespace telmaris
