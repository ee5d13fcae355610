#pragma once
// The test clock: virtual milliseconds behind GetTickCount.  While it is in
// use, Sleep advances virtual time instead of sleeping.
#include "platform/types.h"

namespace platform {

void UseTestClock(DWORD start);
void UseRealClock();
bool TestClockActive();
void AdvanceTestClock(DWORD milliseconds);

}  // namespace platform
