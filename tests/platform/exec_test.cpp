// Exec's task signals on the host, the break raised by POSIX signals.
#include <dos/dos.h>
#include <proto/exec.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exec/host_exec.h"

static bool Ignored(int sig) {
    struct sigaction action {};
    return sigaction(sig, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
}

static bool IsDevNull(int fd) {
    struct stat st = {}, null = {};
    return fstat(fd, &st) == 0 && stat("/dev/null", &null) == 0 && st.st_rdev == null.st_rdev;
}

// Started again by StartsSoundInAHostileProcess: 0 when EXEC_TEST_START's case holds.
const bool g_restarted = [] {
    const char *start = std::getenv("EXEC_TEST_START");
    if (!start)
        return false;
    const std::string name = start;
    if (name == "hangup ignored")
        ::raise(SIGHUP);
    const bool broke = SetSignal(0, 0) & SIGBREAKF_CTRL_C;
    ::_exit(name == "break pending" ? !broke
            : name == "hangup ignored"
                ? broke || !Ignored(SIGHUP)
                : !(IsDevNull(0) && IsDevNull(1) && IsDevNull(2) && platform::exec::WakeFd() > 2));
}();

TEST(ExecSignals, PosixBreakSignalsWakeWaitWithCtrlCEvenWithAFullWakePipe) {
    SetSignal(0, 0xFFFFFFFFUL);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        if (Ignored(sig))
            continue; // ignored when this test started (a background job): it stays so
        // A child sends the signal a little later, while Wait() blocks.
        const auto start = std::chrono::steady_clock::now();
        const pid_t parent = ::getpid(), child = ::fork();
        if (child == 0)
            ::usleep(50 * 1000), ::kill(parent, sig), ::_exit(0);
        ASSERT_GT(child, 0);
        EXPECT_EQ(Wait(SIGBREAKF_CTRL_C | SIGBREAKF_CTRL_D), SIGBREAKF_CTRL_C) << sig;
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(SetSignal(0, 0) & SIGBREAKF_CTRL_C, 0UL) << "Wait takes what it returns";
    }
    // A break is not lost when the pipe that wakes Wait() is full.
    for (int i = 0; i < 70000; ++i) // more than a pipe holds
        Signal(FindTask(nullptr), SIGBREAKF_CTRL_D);
    ::kill(::getpid(), SIGTERM);
    EXPECT_EQ(SetSignal(0, 0xFFFFFFFFUL), SIGBREAKF_CTRL_C | SIGBREAKF_CTRL_D);
}

// A break pending, hang-ups ignored or the streams closed: the signals are sound.
TEST(ExecSignals, StartsSoundInAHostileProcess) {
    for (const char *start : {"break pending", "hangup ignored", "streams closed"}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(5); // a restart that hangs fails instead
            if (!std::strcmp(start, "break pending")) {
                sigset_t breaks{};
                sigaddset(&breaks, SIGINT);
                ::sigprocmask(SIG_BLOCK, &breaks, nullptr);
                ::signal(SIGINT, SIG_DFL);
                ::raise(SIGINT);
            }
            if (!std::strcmp(start, "hangup ignored"))
                ::signal(SIGHUP, SIG_IGN);
            if (!std::strcmp(start, "streams closed"))
                for (int fd = 0; fd <= 2; ++fd)
                    ::close(fd);
            ::setenv("EXEC_TEST_START", start, 1);
            ::execl("/proc/self/exe", "exec_test", nullptr);
            ::_exit(2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0) << start;
    }
}
