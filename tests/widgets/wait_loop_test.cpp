// Exec's Wait() inside Qt's event dispatcher.
#include "qt/qt_host.h"

#include <dos/dos.h>
#include <proto/exec.h>

#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

class WaitLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::qt::OpenHost());
        bit_ = AllocSignal(-1);
        ASSERT_GE(bit_, 0);
    }
    void TearDown() override {
        FreeSignal(bit_);
        platform::qt::CloseHost();
    }
    ULONG Mask() const { return 1UL << bit_; }
    BYTE bit_ = -1;
};

TEST_F(WaitLoopTest, QtEventsRunWhileWaitingAndOnlyTheMaskEndsTheWait) {
    const BYTE other = AllocSignal(-1);
    ASSERT_GE(other, 0);
    int fired = 0;
    QTimer::singleShot(10, [&] {
        ++fired;
        Signal(FindTask(nullptr), 1UL << other); // not waited for: Wait goes on
    });
    QTimer::singleShot(40, [&] {
        ++fired;
        Signal(FindTask(nullptr), Mask());
    });
    EXPECT_EQ(Wait(Mask() | SIGBREAKF_CTRL_C), Mask());
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(SetSignal(0, 1UL << other), 1UL << other); // still pending, not lost
    FreeSignal(other);
}

TEST_F(WaitLoopTest, InterruptEndsTheWaitWithTheBreakSignal) {
    QTimer::singleShot(20, [] { std::raise(SIGINT); });
    EXPECT_EQ(Wait(Mask() | SIGBREAKF_CTRL_C), SIGBREAKF_CTRL_C);
}

TEST_F(WaitLoopTest, IdleWaitSleeps) {
    QTimer::singleShot(300, [&] { Signal(FindTask(nullptr), Mask()); });
    const double cpu = CpuSeconds();
    const double wall = WallSeconds();
    EXPECT_EQ(Wait(Mask()), Mask());
    const double waited = WallSeconds() - wall;
    EXPECT_GE(waited, 0.25);
    EXPECT_LT(CpuSeconds() - cpu, waited / 4) << "Wait() spins instead of sleeping";
}

} // namespace
