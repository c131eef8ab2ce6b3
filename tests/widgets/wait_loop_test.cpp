// Exec's Wait() inside Qt's event dispatcher (the break signal with a window
// open is covered with the windows).
#include "qt/qt_host.h"

#include <proto/exec.h>

#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>

namespace {

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

TEST(WaitLoopTest, QtRunsWhileWaitingOnlyTheMaskEndsItAndIdleIsAsleep) {
    ASSERT_TRUE(platform::qt::OpenHost());
    const BYTE mine = AllocSignal(-1), other = AllocSignal(-1);
    ASSERT_TRUE(mine >= 0 && other >= 0);
    int fired = 0;
    QTimer::singleShot(10, [&] {
        ++fired;
        Signal(FindTask(nullptr), 1UL << other); // not waited for: Wait goes on
    });
    QTimer::singleShot(300, [&] {
        ++fired;
        Signal(FindTask(nullptr), 1UL << mine);
    });
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID), wall = Seconds(CLOCK_MONOTONIC);
    EXPECT_EQ(Wait(1UL << mine), 1UL << mine);
    const double waited = Seconds(CLOCK_MONOTONIC) - wall;
    EXPECT_EQ(fired, 2);
    EXPECT_GE(waited, 0.25);
    EXPECT_LT(Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu, waited / 4) << "Wait() spins";
    EXPECT_EQ(SetSignal(0, 1UL << other), 1UL << other); // still pending, not lost
    FreeSignal(mine);
    FreeSignal(other);
    platform::qt::CloseHost();
}

} // namespace
