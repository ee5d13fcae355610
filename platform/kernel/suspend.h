#pragma once
// Cooperative suspension, for the platform areas whose calls are suspension
// points (the GDI's GdiFlush and AnimatePalette).
#include "platform/types.h"

namespace platform {

// Parks the calling thread while a SuspendThread is pending on it, and for
// good once it has been abandoned with TerminateThread.  Threads not created
// with CreateThread return at once.
void SuspensionPoint();

// True while the thread behind the handle is parked at a suspension point.
// For tests and diagnostics: it lets them observe a suspension take effect.
bool IsThreadParked(HANDLE thread);

}  // namespace platform
