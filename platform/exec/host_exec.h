#pragma once
// Platform-internal hooks of Exec, for the other platform modules (never
// included by the program).
#include <exec/libraries.h>
#include <exec/types.h>

#include <functional>
#include <string>

namespace platform::exec {

// A library that OpenLibrary can hand out. open() is called on the first open
// and returns false when the library cannot be used (the open then fails);
// close() after the last CloseLibrary.
struct LibraryDef {
    std::string name;
    UWORD version = 0;
    std::function<bool()> open;
    std::function<void()> close;
};
void RegisterLibrary(LibraryDef def);

// Wait() blocks in a wait hook while one is installed (the Qt view installs one
// that runs Qt's event dispatcher); otherwise it polls WakeFd(). The hook must
// return when WakeFd() becomes readable; Wait() then collects the signals and
// calls it again while none of its mask arrived.
using WaitHook = std::function<void(ULONG mask)>;
void SetWaitHook(WaitHook hook);

// A descriptor that becomes readable whenever a signal is raised, from a POSIX
// signal handler or from Signal().
int WakeFd();

// The signals raised and not yet taken by Wait() or SetSignal().
ULONG PendingSignals();

} // namespace platform::exec
