#pragma once
// Translation of Linux errno values into Win32 error codes.
#include "platform/types.h"

namespace platform::kernel {

DWORD ErrorFromErrno(int error);

// Sets the last error from errno and returns FALSE, for the common failure path.
BOOL FailWithErrno();

}  // namespace platform::kernel
