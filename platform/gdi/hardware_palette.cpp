#include "platform/gdi/hardware_palette.h"

#include <array>
#include <mutex>

namespace gdi {
namespace {

constexpr Rgb kStatic[20] = {
    MakeRgb(0, 0, 0),       MakeRgb(128, 0, 0),     MakeRgb(0, 128, 0),     MakeRgb(128, 128, 0),
    MakeRgb(0, 0, 128),     MakeRgb(128, 0, 128),   MakeRgb(0, 128, 128),   MakeRgb(192, 192, 192),
    MakeRgb(192, 220, 192), MakeRgb(166, 202, 240), MakeRgb(255, 251, 240), MakeRgb(160, 160, 164),
    MakeRgb(128, 128, 128), MakeRgb(255, 0, 0),     MakeRgb(0, 255, 0),     MakeRgb(255, 255, 0),
    MakeRgb(0, 0, 255),     MakeRgb(255, 0, 255),   MakeRgb(0, 255, 255),   MakeRgb(255, 255, 255),
};

struct Hardware {
    std::mutex mutex;
    HardwareColours colours{};
    std::array<const void*, 256> owners{};
    Hardware() {
        for (int k = 0; k < 20; ++k) colours[StaticIndex(k)] = kStatic[k];
    }
};

Hardware& State() {
    static auto* hardware = new Hardware;  // outlives every palette, also at exit
    return *hardware;
}

bool FreeSlot(int slot) { return slot >= kFirstFreeEntry && slot <= kLastFreeEntry; }

}  // namespace

const Rgb* StaticColours() { return kStatic; }

int NearestIndex(const Rgb* table, int count, Rgb colour) {
    int best = 0;
    long bestDistance = -1;
    const int r = static_cast<int>(RedOf(colour)), g = static_cast<int>(GreenOf(colour)),
              b = static_cast<int>(BlueOf(colour));
    for (int i = 0; i < count; ++i) {
        const int dr = r - static_cast<int>(RedOf(table[i])), dg = g - static_cast<int>(GreenOf(table[i])),
                  db = b - static_cast<int>(BlueOf(table[i]));
        const long d = long{dr} * dr + long{dg} * dg + long{db} * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0) break;
        }
    }
    return best;
}

std::uint8_t NearestStaticIndex(Rgb colour) {
    return static_cast<std::uint8_t>(StaticIndex(NearestIndex(kStatic, 20, colour)));
}

HardwareColours HardwareSnapshot() {
    Hardware& h = State();
    std::lock_guard lock(h.mutex);
    return h.colours;
}

Rgb HardwareColour(std::uint8_t index) {
    Hardware& h = State();
    std::lock_guard lock(h.mutex);
    return h.colours[index];
}

void ClaimHardwareSlot(int slot, Rgb colour, const void* owner) {
    if (!FreeSlot(slot)) return;
    Hardware& h = State();
    std::lock_guard lock(h.mutex);
    h.colours[slot] = colour;
    h.owners[slot] = owner;
}

bool AnimateHardwareSlot(int slot, Rgb colour, const void* owner) {
    if (!FreeSlot(slot)) return false;
    Hardware& h = State();
    std::lock_guard lock(h.mutex);
    if (h.owners[slot] != owner) return false;
    h.colours[slot] = colour;
    return true;
}

void ReleaseHardwareSlots(const void* owner) {
    Hardware& h = State();
    std::lock_guard lock(h.mutex);
    for (auto& o : h.owners)
        if (o == owner) o = nullptr;
}

}  // namespace gdi
