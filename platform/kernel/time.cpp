// Ticks and sleeping, with the virtual test clock.
#include <atomic>
#include <ctime>
#include <sched.h>

#include "platform/kernel/clock.h"
#include "platform/kernel/kernel.h"
#include "platform/kernel/suspend.h"

namespace {

std::atomic<bool> testClockActive{false};
std::atomic<DWORD> testClockNow{0};

DWORD RealTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);  // wraps like the 32-bit tick count
}

void RealSleep(DWORD milliseconds) {
    timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0) {
    }
}

}  // namespace

namespace platform {

void UseTestClock(DWORD start) {
    testClockNow.store(start);
    testClockActive.store(true);
}

void UseRealClock() { testClockActive.store(false); }

bool TestClockActive() { return testClockActive.load(); }

void AdvanceTestClock(DWORD milliseconds) { testClockNow.fetch_add(milliseconds); }

}  // namespace platform

DWORD GetTickCount() { return testClockActive.load() ? testClockNow.load() : RealTicks(); }

void Sleep(DWORD milliseconds) {
    platform::SuspensionPoint();
    if (milliseconds == INFINITE) {
        for (;;) RealSleep(1000000);
    } else if (milliseconds == 0) {
        sched_yield();
    } else if (testClockActive.load()) {
        platform::AdvanceTestClock(milliseconds);
        sched_yield();
    } else {
        RealSleep(milliseconds);
    }
    platform::SuspensionPoint();
}
