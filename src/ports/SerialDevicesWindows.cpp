// The serial devices of a Windows system. Listing the COM ports with their names and makers
// needs the system's device setup interface; until the Windows line is built, the list is
// empty and COM 1-4 name the ports of the same numbers.

#include "ports/SerialDevices.h"

namespace telmaris {

SerialDevices detectSerialDevices() {
    return {};
}

} // namespace telmaris
