#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/kernel/clock.h"
#include "platform/kernel/kernel.h"

namespace {
struct TestClockScope {
    explicit TestClockScope(DWORD start) { platform::UseTestClock(start); }
    ~TestClockScope() { platform::UseRealClock(); }
};
}  // namespace

TEST(TestClock, TicksStandStillAndSleepAdvancesThem) {
    TestClockScope scope(1000);
    EXPECT_TRUE(platform::TestClockActive());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(GetTickCount(), 1000u);
    Sleep(250);
    EXPECT_EQ(GetTickCount(), 1250u);
    Sleep(0);
    EXPECT_EQ(GetTickCount(), 1250u);
    platform::AdvanceTestClock(50);
    EXPECT_EQ(GetTickCount(), 1300u);
}

TEST(TestClock, WrapsAroundAt32Bits) {
    TestClockScope scope(0xFFFFFF00u);
    Sleep(0x200);
    EXPECT_EQ(GetTickCount(), 0x100u);
    // Intervals measured across the wrap stay right in unsigned arithmetic.
    EXPECT_EQ(GetTickCount() - 0xFFFFFF00u, 0x200u);
}

TEST(TestClock, RealClockResumesAndMoves) {
    { TestClockScope scope(5); }
    EXPECT_FALSE(platform::TestClockActive());
    DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u);
}
