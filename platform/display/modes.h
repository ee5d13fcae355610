#pragma once
// The virtual display modes: which are offered and which one is in force.
#include <vector>

#include "platform/display/display.h"

namespace platform::display {

constexpr int kRefreshRate = 60;

// The offered modes for a screen of the given size: the classic sizes that fit
// it and the screen's own size, each at 8, 16, 24 and 32 bits, ordered by
// width, height and bit count.
std::vector<VirtualMode> OfferedModes(int screenWidth, int screenHeight);

// Sets an offered mode: the platform's screen size becomes the mode's.
// False (nothing changed) for a mode that is not offered.
bool SetVirtualMode(const VirtualMode& mode);
// Back to the screen's own size; nothing to do without a mode in force.
void RestoreVirtualMode();

// The screen's own size: what the platform reports while no mode is set, and
// what it reported before the first mode was set.
void NativeScreenSize(int& width, int& height);

}  // namespace platform::display
