#pragma once
// The Qt application behind the toolkit: created when the toolkit library is
// first opened, destroyed when it is last closed.
#include <functional>

namespace platform::qt {

// Starts Qt (or adopts a QApplication that already exists) and installs the
// Exec wait loop. Without a usable display it prints one line on standard
// error and returns false. When the display of a Qt of its own goes away
// while it runs, `displayLost` is called, on the main thread, in place of
// Qt's own end of the process; it must not return.
bool OpenHost(std::function<void()> displayLost = {});
void CloseHost();
bool HostIsOpen();

} // namespace platform::qt
