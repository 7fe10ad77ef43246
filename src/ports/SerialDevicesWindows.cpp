// The serial devices of a Windows system: the COM ports that the device setup interface lists
// in the classes of modems and of ports, with their friendly names and makers. Modems come
// first, then the other ports, each by its number, so that a USB modem (often COM 5 or higher)
// is the first to take a free COM number.

#include "ports/SerialDevices.h"

#include <windows.h>

#include <setupapi.h>

namespace telmaris {

namespace {

// A text property of the device from its setup record, e.g. its friendly name or maker.
QString property(HDEVINFO set, SP_DEVINFO_DATA &info, DWORD which) {
    wchar_t text[256] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, which, nullptr,
                                           reinterpret_cast<BYTE *>(text),
                                           sizeof text - sizeof(wchar_t), nullptr))
        return {};
    return QString::fromWCharArray(text).trimmed();
}

QString registryText(HKEY key, const wchar_t *name) {
    wchar_t text[64] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(text).trimmed();
}

// The COM port of a device: a port names itself in its hardware key, a modem names the port
// it is attached to in its driver key. Empty for a device without one (a printer port).
QString comPortOf(HDEVINFO set, SP_DEVINFO_DATA &info) {
    const std::pair<DWORD, const wchar_t *> places[] = {{DIREG_DEV, L"PortName"},
                                                        {DIREG_DRV, L"AttachedTo"}};
    for (const auto &[keyType, valueName] : places) {
        const HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, keyType, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        const QString name = registryText(key, valueName).toUpper();
        RegCloseKey(key);
        if (comNumber(name) > 0)
            return name;
    }
    return {};
}

// "USB-Modem (COM7)" shows as "USB-Modem": the port is shown beside it anyway.
QString withoutPort(QString name, const QString &port) {
    const QString suffix = QStringLiteral(" (%1)").arg(port);
    if (name.endsWith(suffix, Qt::CaseInsensitive))
        name.chop(suffix.size());
    return name;
}

// The present devices of a setup class ("Modem", "Ports") that have a COM port.
SerialDevices devicesOfClass(const wchar_t *className) {
    SerialDevices devices;
    GUID guid;
    DWORD count = 0;
    if (!SetupDiClassGuidsFromNameW(className, &guid, 1, &count) || count == 0)
        return devices;
    const HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    SP_DEVINFO_DATA info = {};
    info.cbSize = sizeof info;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &info); ++index) {
        SerialDevice device;
        device.path = comPortOf(set, info);
        if (device.path.isEmpty())
            continue;
        QString name = property(set, info, SPDRP_FRIENDLYNAME);
        if (name.isEmpty())
            name = property(set, info, SPDRP_DEVICEDESC);
        device.description = withoutPort(name, device.path);
        device.manufacturer = property(set, info, SPDRP_MFG);
        devices.append(device);
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

} // namespace

QString defaultComDevice(int comPort) {
    return QStringLiteral("COM%1").arg(comPort);
}

SerialDevices detectSerialDevices() {
    return orderForComNumbers(devicesOfClass(L"Modem"), devicesOfClass(L"Ports"));
}

} // namespace telmaris
