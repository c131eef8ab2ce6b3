#pragma once
// Decides, before any Qt call, whether a window system is reachable, so that a
// missing display becomes a clean failure instead of Qt aborting the process.
#include <string>

namespace platform::qt {

// Empty when a display (or the Qt platform that QT_QPA_PLATFORM names) is
// usable; otherwise one line that says what is missing.
std::string MissingDisplayReason();

// Closes the connection the probe keeps to an X server; called once Qt has
// connected.
void ReleaseDisplayProbe();

// The line for a display that Qt itself failed to use.
std::string UnusableDisplayLine();

// Whether the Wayland compositor of this session still accepts clients.
bool WaylandAnswers();

} // namespace platform::qt
