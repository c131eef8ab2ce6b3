#pragma once
// Decides, before any Qt call, whether a window system is reachable, so that a
// missing display becomes a clean failure instead of Qt aborting the process.
#include <string>

namespace platform::qt {

// Empty when a display (or an explicit Qt platform) is usable; otherwise one
// line that says what is missing.
std::string MissingDisplayReason();

} // namespace platform::qt
