#include "platform/display/modes.h"

#include <algorithm>
#include <mutex>

#include "platform/gdi/gdi.h"

namespace platform::display {

namespace {

struct Size {
    int width;
    int height;
};

constexpr Size kClassicSizes[] = {{320, 200},  {320, 240},  {400, 300},   {512, 384},
                                  {640, 400},  {640, 480},  {800, 600},   {1024, 768},
                                  {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200}};
constexpr int kBitCounts[] = {8, 16, 24, 32};

struct State {
    std::mutex mutex;
    bool active = false;
    VirtualMode mode{};
    Size native{};
};

State& state() {
    static State s;
    return s;
}

// Called with the lock held.  While no mode is in force the platform's screen
// size is the real one, so it is read afresh each time (the screen may have
// changed); during a mode the size remembered at its start holds.
Size nativeLocked(State& s) {
    if (!s.active) s.native = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return s.native;
}

}  // namespace

std::vector<VirtualMode> OfferedModes(int screenWidth, int screenHeight) {
    std::vector<Size> sizes;
    for (const Size& size : kClassicSizes) {
        if (size.width <= screenWidth && size.height <= screenHeight) sizes.push_back(size);
    }
    if (screenWidth > 0 && screenHeight > 0) sizes.push_back({screenWidth, screenHeight});
    std::sort(sizes.begin(), sizes.end(), [](const Size& a, const Size& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    sizes.erase(std::unique(sizes.begin(), sizes.end(),
                            [](const Size& a, const Size& b) { return a.width == b.width && a.height == b.height; }),
                sizes.end());
    std::vector<VirtualMode> modes;
    for (const Size& size : sizes) {
        for (int bits : kBitCounts) modes.push_back({size.width, size.height, bits});
    }
    return modes;
}

bool SetVirtualMode(const VirtualMode& mode) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Size native = nativeLocked(s);
    std::vector<VirtualMode> offered = OfferedModes(native.width, native.height);
    bool known = std::any_of(offered.begin(), offered.end(), [&](const VirtualMode& m) {
        return m.width == mode.width && m.height == mode.height && m.bitsPerPixel == mode.bitsPerPixel;
    });
    if (!known) return false;
    s.active = true;
    s.mode = mode;
    SetScreenSize(mode.width, mode.height);
    return true;
}

void RestoreVirtualMode() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.active) return;
    s.active = false;
    SetScreenSize(s.native.width, s.native.height);
}

void NativeScreenSize(int& width, int& height) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    Size native = nativeLocked(s);
    width = native.width;
    height = native.height;
}

}  // namespace platform::display

namespace platform {

VirtualMode CurrentVirtualMode() {
    auto& s = display::state();
    std::lock_guard lock(s.mutex);
    if (s.active) return s.mode;
    auto native = display::nativeLocked(s);
    return {native.width, native.height, 8};
}

bool VirtualModeActive() {
    auto& s = display::state();
    std::lock_guard lock(s.mutex);
    return s.active;
}

}  // namespace platform
