// Exec signals on a POSIX process: one set of 32 signal bits for the program's
// task. SIGINT, SIGTERM and SIGHUP raise SIGBREAKF_CTRL_C: their handler only
// sets a flag and writes one byte to a self-pipe that wakes Wait(); everything
// else happens in Wait().
#include "host_exec.h"

#include <proto/exec.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr ULONG kCtrlC = 1UL << 12;
constexpr ULONG kReservedSignals = 0xFFFFUL; // system and break bits
constexpr int kBreakSignals[] = {SIGINT, SIGTERM, SIGHUP};

// All the break handler touches: constant-initialised, so a break arriving at
// any moment finds nothing half-built. The flag carries the break, the pipe
// only wakes the reader: a pipe that is full is readable already, and losing a
// byte then loses nothing.
std::atomic<bool> g_break{false};
std::atomic<bool> g_written{false}; // set after each write to the pipe
std::atomic<int> g_wakeWrite{-1};
std::atomic<int> g_wakeRead{-1};

void WriteWake() {
    const int fd = g_wakeWrite.load();
    if (fd < 0)
        return;
    const char byte = 0;
    [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    g_written.store(true);
}

void OnBreak(int) {
    const int savedErrno = errno;
    g_break.store(true);
    WriteWake();
    errno = savedErrno;
}

// A parent may start us with descriptor 0, 1 or 2 closed; /dev/null takes its
// place before the signal pipe or a display connection can, so that nothing
// written to standard error lands on them.
void OpenMissingStandardStreams() {
    for (;;) {
        const int fd = ::open("/dev/null", O_RDWR);
        if (fd > 2)
            ::close(fd);
        if (fd < 0 || fd > 2)
            return;
    }
}

// Sets up the signals before any other code of the program runs. They
// stay blocked until the pipe and the handlers are in place; a break pending
// from before (even one the parent blocked) then arrives. A break signal the
// parent chose to ignore (nohup, a background job) stays ignored.
__attribute__((constructor(101))) void StartProcess() {
    OpenMissingStandardStreams();
    sigset_t breaks;
    sigemptyset(&breaks);
    for (int sig : kBreakSignals)
        sigaddset(&breaks, sig);
    ::sigprocmask(SIG_BLOCK, &breaks, nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        g_wakeRead.store(fds[0]);
        g_wakeWrite.store(fds[1]);
    }
    struct sigaction action {};
    action.sa_handler = &OnBreak;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : kBreakSignals) {
        struct sigaction inherited {};
        if (::sigaction(sig, nullptr, &inherited) == 0 && inherited.sa_handler != SIG_IGN)
            ::sigaction(sig, &action, nullptr);
    }
    ::sigprocmask(SIG_UNBLOCK, &breaks, nullptr);
    // A write to a pipe nobody reads, or past the file size limit, fails
    // instead of ending the process: the program goes on and saves its work.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

struct SignalState {
    ULONG pending = 0;
    ULONG allocated = kReservedSignals;
    platform::exec::WaitHook hook;
    Task task{program_invocation_short_name, kReservedSignals}; // the process's own name

    // Moves a break into the pending set and empties the pipe. The flag spares
    // the read while nothing was written: SetSignal is polled often (a
    // directory scan checks for a break at every entry).
    void Collect() {
        if (g_written.exchange(false)) {
            char buffer[64];
            const int fd = g_wakeRead.load();
            while (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0) {
            }
        }
        if (g_break.exchange(false))
            pending |= kCtrlC;
    }
};

SignalState &State() {
    static SignalState state;
    return state;
}

} // namespace

namespace platform::exec {

void SetWaitHook(WaitHook hook) {
    State().hook = std::move(hook);
}

int WakeFd() {
    return g_wakeRead.load();
}

ULONG PendingSignals() {
    State().Collect();
    return State().pending;
}

} // namespace platform::exec

struct Task *FindTask(CONST_STRPTR name) {
    return name ? nullptr : &State().task;
}

BYTE AllocSignal(BYTE signalNum) {
    SignalState &s = State();
    if (signalNum >= 0) {
        if (signalNum > 31 || (s.allocated & (1UL << signalNum)))
            return -1;
    } else {
        signalNum = -1;
        for (BYTE bit = 31; bit >= 16; --bit)
            if (!(s.allocated & (1UL << bit))) {
                signalNum = bit;
                break;
            }
        if (signalNum < 0)
            return -1;
    }
    s.allocated |= 1UL << signalNum;
    s.pending &= ~(1UL << signalNum);
    s.task.tc_SigAlloc = s.allocated;
    return signalNum;
}

void FreeSignal(BYTE signalNum) {
    if (signalNum < 16 || signalNum > 31)
        return;
    State().allocated &= ~(1UL << signalNum);
    State().task.tc_SigAlloc = State().allocated;
}

void Signal(struct Task *, ULONG signalSet) {
    State().pending |= signalSet;
    WriteWake();
}

ULONG SetSignal(ULONG newSignals, ULONG signalSet) {
    SignalState &s = State();
    s.Collect();
    const ULONG old = s.pending;
    s.pending = (old & ~signalSet) | (newSignals & signalSet);
    return old;
}

ULONG Wait(ULONG signalSet) {
    SignalState &s = State();
    for (;;) {
        s.Collect();
        if (const ULONG arrived = s.pending & signalSet) {
            s.pending &= ~arrived;
            return arrived;
        }
        if (signalSet == 0 && !s.hook)
            return 0; // nothing could ever wake this wait
        if (s.hook) {
            s.hook(signalSet);
        } else {
            pollfd fd{g_wakeRead.load(), POLLIN, 0};
            ::poll(&fd, 1, -1);
        }
    }
}
