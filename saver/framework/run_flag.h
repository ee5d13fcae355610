#pragma once
// 1 while a saver run is on.  The engine sets and clears it; the window
// thread clears it to end a run; modules read it (a module freed after the
// run ended skips work that only matters on screen).  A whole 32-bit word
// shared by every thread.
#include <atomic>

#include "platform/win32.h"

extern std::atomic<LONG> Running;
