// Exec signals on a POSIX process: one set of 32 signal bits for the program's
// task. SIGINT, SIGTERM and SIGHUP raise SIGBREAKF_CTRL_C through a self-pipe
// whose handler only writes one byte; everything else happens in Wait().
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

struct SignalState {
    int pipe[2] = {-1, -1};
    std::atomic<bool> written{false}; // set after each write to the pipe
    ULONG pending = 0;
    ULONG allocated = kReservedSignals;
    platform::exec::WaitHook hook;
    Task task{"karvolin", kReservedSignals};

    SignalState() {
        if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0)
            pipe[0] = pipe[1] = -1;
        struct sigaction action {};
        action.sa_handler = &SignalState::OnBreak;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGINT, SIGTERM, SIGHUP})
            sigaction(sig, &action, nullptr);
    }

    static void OnBreak(int);

    void Wake() {
        if (pipe[1] >= 0) {
            const char byte = 'w';
            [[maybe_unused]] ssize_t n = ::write(pipe[1], &byte, 1);
            written.store(true);
        }
    }

    // Moves what the pipe carries into the pending set. The flag spares the
    // read while nothing was written: SetSignal is polled often (a directory
    // scan checks for a break at every entry).
    void Collect() {
        if (!written.exchange(false))
            return;
        char buffer[64];
        ssize_t n;
        while (pipe[0] >= 0 && (n = ::read(pipe[0], buffer, sizeof buffer)) > 0) {
            for (ssize_t i = 0; i < n; ++i)
                if (buffer[i] == 'c')
                    pending |= kCtrlC;
        }
    }
};

SignalState &State() {
    static SignalState state;
    return state;
}

// Installs the break handlers as the program starts, before any call.
const bool g_installed = (State(), true);

void SignalState::OnBreak(int) {
    const int savedErrno = errno;
    const char byte = 'c';
    [[maybe_unused]] ssize_t n = ::write(State().pipe[1], &byte, 1);
    State().written.store(true);
    errno = savedErrno;
}

} // namespace

namespace platform::exec {

void SetWaitHook(WaitHook hook) { State().hook = std::move(hook); }

int WakeFd() { return State().pipe[0]; }

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
    State().Wake();
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
            pollfd fd{s.pipe[0], POLLIN, 0};
            ::poll(&fd, 1, -1);
        }
    }
}
