#pragma once
// The errors a Windows COM port reports (ClearCommError's CE_ flags) in the terms a run tells
// apart: overrun, break and parity end a run, a framing error does not.

#include "ports/LineError.h"

#include <optional>

namespace telmaris {

std::optional<LineError> lineErrorOfCommErrors(unsigned long errors);

} // namespace telmaris
