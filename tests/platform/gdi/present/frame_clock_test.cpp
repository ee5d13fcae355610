// Pacing under the test clock: Sleep advances virtual time, so the clock's
// waits show up as exact tick counts.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/present/frame_clock.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/kernel.h"

namespace {

class FrameClockTest : public testing::Test {
protected:
    void SetUp() override { platform::UseTestClock(kStart); }
    void TearDown() override { platform::UseRealClock(); }

    // Virtual times (relative to kStart) after each of `frames` waits.
    static std::vector<DWORD> Waits(gdi::FrameClock& clock, int frames) {
        std::vector<DWORD> times;
        for (int i = 0; i < frames; ++i) {
            clock.wait();
            times.push_back(GetTickCount() - kStart);
        }
        return times;
    }

    static constexpr DWORD kStart = 5000;
};

TEST_F(FrameClockTest, EachFrameAdvancesByThePeriodWithoutDrift) {
    gdi::FrameClock clock(50);
    EXPECT_EQ(Waits(clock, 4), (std::vector<DWORD>{20, 40, 60, 80}));

    // 1000/60 is not whole: steps of 16 and 17 ms that land on exactly one
    // second after 60 frames.
    gdi::FrameClock sixty;
    EXPECT_EQ(sixty.fps(), 60);
    const DWORD begin = GetTickCount();
    const std::vector<DWORD> times = Waits(sixty, 60);
    DWORD previous = begin - kStart;
    for (DWORD t : times) {
        EXPECT_TRUE(t - previous == 16 || t - previous == 17) << t - previous;
        previous = t;
    }
    EXPECT_EQ(GetTickCount() - begin, 1000u);
}

TEST_F(FrameClockTest, WorkDuringAFrameShortensTheWait) {
    gdi::FrameClock clock(50);
    clock.wait();
    platform::AdvanceTestClock(15);
    clock.wait();
    EXPECT_EQ(GetTickCount() - kStart, 40u);
}

TEST_F(FrameClockTest, AStallSkipsMissedFramesInsteadOfBursting) {
    gdi::FrameClock clock(50);
    clock.wait();  // 20
    clock.wait();  // 40
    platform::AdvanceTestClock(105);  // 145: frames due at 60..140 were missed
    clock.wait();
    EXPECT_EQ(GetTickCount() - kStart, 145u) << "a late frame goes out at once";
    EXPECT_EQ(Waits(clock, 3), (std::vector<DWORD>{160, 180, 200})) << "and the grid resumes, one frame a period";
}

TEST_F(FrameClockTest, LateExactlyOnADeadlineWaitsForTheNextOne) {
    gdi::FrameClock clock(60);
    clock.wait();  // 16
    platform::AdvanceTestClock(17);  // 33: exactly frame 2's deadline
    clock.wait();
    EXPECT_EQ(GetTickCount() - kStart, 33u);
    clock.wait();
    EXPECT_EQ(GetTickCount() - kStart, 50u);
}

TEST_F(FrameClockTest, UnpacedNeverWaitsAndRateChangesRestartTheGrid) {
    gdi::FrameClock clock(0);
    Waits(clock, 5);
    EXPECT_EQ(GetTickCount(), kStart);

    clock.setFps(-3);
    EXPECT_EQ(clock.fps(), 0);
    clock.setFps(100000);
    EXPECT_EQ(clock.fps(), gdi::FrameClock::kMaxFps);

    clock.setFps(25);
    EXPECT_EQ(Waits(clock, 2), (std::vector<DWORD>{40, 80}));
    clock.setFps(50);
    EXPECT_EQ(Waits(clock, 2), (std::vector<DWORD>{100, 120}));
}

TEST_F(FrameClockTest, PacesAcrossTheTickCounterWrap) {
    platform::UseTestClock(0xFFFFFFF0u);
    gdi::FrameClock clock(100);
    std::vector<DWORD> times;
    for (int i = 0; i < 4; ++i) {
        clock.wait();
        times.push_back(GetTickCount());
    }
    EXPECT_EQ(times, (std::vector<DWORD>{0xFFFFFFFAu, 4u, 14u, 24u}));
}

}  // namespace
