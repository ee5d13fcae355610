#pragma once
// Waiting on event objects, for WaitForSingleObject.
#include "platform/kernel/kernel.h"

namespace platform::kernel {

bool IsEvent(HANDLE object);
// WAIT_OBJECT_0 (an auto-reset event is cleared again), WAIT_TIMEOUT or
// WAIT_FAILED.
DWORD WaitForEvent(HANDLE event, DWORD milliseconds);

}  // namespace platform::kernel
