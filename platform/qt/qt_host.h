#pragma once
// The Qt application behind the toolkit: created when the toolkit library is
// first opened, destroyed when it is last closed.
namespace platform::qt {

// Starts Qt (or adopts a QApplication that already exists) and installs the
// Exec wait loop. Without a usable display it prints one line on standard
// error and returns false.
bool OpenHost();
void CloseHost();
bool HostIsOpen();

} // namespace platform::qt
