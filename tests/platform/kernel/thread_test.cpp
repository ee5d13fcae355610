#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "child_process.h"
#include "platform/kernel/kernel.h"
#include "platform/kernel/suspend.h"

namespace {

// A worker that counts and sleeps until told to stop.  Shared ownership:
// an abandoned worker may outlive the test that started it.
struct Counter {
    std::atomic<long> count{0};
    std::atomic<bool> stop{false};
    std::atomic<DWORD> exitCode{7};
};

DWORD CountLoop(LPVOID parameter) {
    auto* counter = static_cast<std::shared_ptr<Counter>*>(parameter);
    std::shared_ptr<Counter> shared = *counter;
    delete counter;
    while (!shared->stop) {
        ++shared->count;
        Sleep(1);
    }
    return shared->exitCode;
}

HANDLE StartCounter(const std::shared_ptr<Counter>& counter, DWORD flags = 0) {
    return CreateThread(nullptr, 0, CountLoop, new std::shared_ptr<Counter>(counter), flags, nullptr);
}

// Polls a condition for up to ten seconds; only a hang fails it.
template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

}  // namespace

TEST(Threads, SuspendedThreadParksAtSleepAndContinuesAfterResume) {
    auto counter = std::make_shared<Counter>();
    HANDLE thread = StartCounter(counter);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(Eventually([&] { return counter->count > 0; }));

    EXPECT_EQ(SuspendThread(thread), 0u);
    ASSERT_TRUE(Eventually([&] { return platform::IsThreadParked(thread); }));
    long parkedAt = counter->count;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(counter->count, parkedAt);

    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_TRUE(Eventually([&] { return counter->count > parkedAt; }));
    counter->stop = true;
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST(Threads, SuspendCountsNestAndCreateSuspendedWaitsForResume) {
    auto counter = std::make_shared<Counter>();
    HANDLE thread = StartCounter(counter, CREATE_SUSPENDED);
    ASSERT_TRUE(Eventually([&] { return platform::IsThreadParked(thread); }));
    EXPECT_EQ(counter->count, 0);

    EXPECT_EQ(SuspendThread(thread), 1u);
    EXPECT_EQ(ResumeThread(thread), 2u);
    EXPECT_EQ(counter->count, 0);  // still suspended once
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_TRUE(Eventually([&] { return counter->count > 0; }));
    EXPECT_EQ(ResumeThread(thread), 0u);  // not suspended: nothing changes

    counter->stop = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST(Threads, WaitTimesOutWhileRunningAndSucceedsWithExitCode) {
    auto counter = std::make_shared<Counter>();
    counter->exitCode = 1234;
    HANDLE thread = StartCounter(counter);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(thread, 30), WAIT_TIMEOUT);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    counter->stop = true;
    EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 1234u);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
}

TEST(Threads, TerminatedThreadIsSignalledAtOnceAndNeverRunsAgain) {
    auto counter = std::make_shared<Counter>();
    HANDLE thread = StartCounter(counter);
    ASSERT_TRUE(Eventually([&] { return counter->count > 0; }));

    EXPECT_TRUE(TerminateThread(thread, 42));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    ASSERT_TRUE(Eventually([&] { return platform::IsThreadParked(thread); }));
    long parkedAt = counter->count;
    EXPECT_EQ(ResumeThread(thread), 0u);  // resuming does not revive it
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(counter->count, parkedAt);
    CloseHandle(thread);
}

TEST(Threads, ClosingTheHandleLeavesTheThreadRunning) {
    auto counter = std::make_shared<Counter>();
    HANDLE thread = StartCounter(counter);
    ASSERT_TRUE(CloseHandle(thread));
    long seen = counter->count;
    EXPECT_TRUE(Eventually([&] { return counter->count > seen + 5; }));
    counter->stop = true;
}

TEST(Threads, AbandonedThreadsDoNotHoldUpProcessExit) {
    ChildProcess child({"abandon"});
    EXPECT_EQ(child.Wait(), 0);
}

TEST(Threads, PrioritiesBecomeNiceValuesWherePermitted) {
    ChildProcess child({"priority"});
    if (child.ReadLine() != "start 0") GTEST_SKIP() << "the tests run with a nice value already raised";
    // Raising a nice value is always permitted.
    EXPECT_EQ(child.ReadLine(), "below-normal 5");
    // In the idle class a below-normal thread still runs below a normal one.
    EXPECT_EQ(child.ReadLine(), "idle-main 15");
    EXPECT_EQ(child.ReadLine(), "idle-worker 19");
    EXPECT_EQ(child.ReadLine(), "class 64 priority -1");
    EXPECT_EQ(child.Wait(), 0);
}

TEST(Threads, NewThreadsStartAtNormalPriorityWhoeverCreatesThem) {
    ChildProcess child({"inherit"});
    if (child.ReadLine() != "start 0") GTEST_SKIP() << "the tests run with a nice value already raised";
    EXPECT_EQ(child.ReadLine(), "creator 5");
    EXPECT_EQ(child.ReadLine(), "started 0");  // without privilege to lower it again
    EXPECT_EQ(child.Wait(), 0);
}

TEST(Threads, CurrentThreadPseudoHandleAndIds) {
    DWORD id = 0;
    std::atomic<DWORD> seen{0};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            static_cast<std::atomic<DWORD>*>(p)->store(GetCurrentThreadId());
            return 0;
        },
        &seen, 0, &id);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_EQ(seen.load(), id);
    EXPECT_NE(id, GetCurrentThreadId());
    CloseHandle(thread);
    EXPECT_TRUE(CloseHandle(GetCurrentThread()));  // pseudo handles ignore closing
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));  // same thread again
    BOOL otherGot = TRUE;
    std::thread([&] { otherGot = TryEnterCriticalSection(&section); }).join();
    EXPECT_FALSE(otherGot);
    LeaveCriticalSection(&section);
    std::thread([&] { otherGot = TryEnterCriticalSection(&section); }).join();
    EXPECT_FALSE(otherGot);  // still held once
    LeaveCriticalSection(&section);
    std::thread([&] {
        otherGot = TryEnterCriticalSection(&section);
        if (otherGot) LeaveCriticalSection(&section);
    }).join();
    EXPECT_TRUE(otherGot);
    DeleteCriticalSection(&section);
}

TEST(Interlocked, CountersFromManyThreads) {
    volatile LONG counter = 0;
    std::thread a([&] { for (int i = 0; i < 10000; ++i) InterlockedIncrement(&counter); });
    std::thread b([&] { for (int i = 0; i < 10000; ++i) InterlockedDecrement(&counter); });
    std::thread c([&] { for (int i = 0; i < 10000; ++i) InterlockedIncrement(&counter); });
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(InterlockedExchange(&counter, 5), 10000);
    EXPECT_EQ(counter, 5);
}
