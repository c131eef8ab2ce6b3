// Exec on the host: cleared memory and task signals, with the break signal
// raised by real POSIX signals from another process.
#include <dos/dos.h>
#include <proto/exec.h>

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child process that sends `sig` to this process after a short delay, so
// the signal arrives while Wait() blocks.
pid_t SendLater(int sig) {
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::usleep(50 * 1000);
        ::kill(parent, sig);
        ::_exit(0);
    }
    return child;
}

} // namespace

TEST(ExecSignals, PosixBreakSignalsWakeWaitWithCtrlC) {
    SetSignal(0, 0xFFFFFFFFUL);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = SendLater(sig);
        ASSERT_GT(child, 0);
        EXPECT_EQ(Wait(SIGBREAKF_CTRL_C | SIGBREAKF_CTRL_D), SIGBREAKF_CTRL_C) << sig;
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(SetSignal(0, 0) & SIGBREAKF_CTRL_C, 0UL) << "Wait takes what it returns";
    }
}
