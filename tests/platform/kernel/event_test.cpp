// Events: a manual-reset event lets every wait through until it is reset,
// an auto-reset one lets one wait through; a waiting thread wakes on
// SetEvent.
#include <gtest/gtest.h>

#include "platform/kernel/kernel.h"

namespace {

TEST(Event, ManualStaysSignalledAndAutoLetsOneWaitThrough) {
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE automatic = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(manual, nullptr);
    ASSERT_NE(automatic, nullptr);

    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
    SetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    ResetEvent(manual);
    EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);

    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);

    CloseHandle(manual);
    CloseHandle(automatic);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
    EXPECT_EQ(SetEvent(manual), FALSE);
    EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "Named"), nullptr);
}

DWORD SignalAfterAWhile(LPVOID event) {
    Sleep(20);
    SetEvent(static_cast<HANDLE>(event));
    return 0;
}

TEST(Event, AWaiterWakesWhenAnotherThreadSignals) {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, SignalAfterAWhile, event, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(event);
}

}  // namespace
