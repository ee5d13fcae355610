#pragma once
// The process-wide hardware palette of the 8-bit display: 256 colours, of
// which 0..9 and 246..255 are the twenty static colours and 10..245 belong to
// whichever logical palette was last realised in the foreground.  Read by
// GetPixel and blits on any thread while the palette thread animates it, so
// every access goes through one lock (a leaf: nothing else is locked inside).
#include <cstdint>

#include "platform/gdi/presenter.h"
#include "platform/gdi/surface.h"

namespace gdi {

constexpr int kFirstFreeEntry = 10;
constexpr int kLastFreeEntry = 245;

// The hardware index of static colour k (0..19).
constexpr int StaticIndex(int k) { return k < 10 ? k : k + 236; }
// The twenty static colours in static order (entries 0..9, then 246..255).
const Rgb* StaticColours();

// Nearest entry of a table by squared RGB distance; ties take the lower index.
int NearestIndex(const Rgb* table, int count, Rgb colour);
// The hardware index of the static colour nearest to `colour`.
std::uint8_t NearestStaticIndex(Rgb colour);

HardwareColours HardwareSnapshot();
Rgb HardwareColour(std::uint8_t index);

// Foreground realisation: writes `colour` into `slot` and records `owner`
// (a palette's identity) as the slot's owner.
void ClaimHardwareSlot(int slot, Rgb colour, const void* owner);
// Animation: changes the slot only while `owner` still owns it.  True when
// it did.
bool AnimateHardwareSlot(int slot, Rgb colour, const void* owner);
// Forgets `owner` (a palette being destroyed); its colours stay shown.
void ReleaseHardwareSlots(const void* owner);

}  // namespace gdi
