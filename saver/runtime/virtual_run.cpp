#include "saver/runtime/virtual_run.h"

#include <algorithm>

#include "platform/kernel/clock.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/run_state.h"

VirtualTime::VirtualTime(DWORD start) : start_(start) { platform::UseTestClock(start); }

VirtualTime::~VirtualTime() { platform::UseRealClock(); }

DWORD VirtualTime::elapsed() const { return GetTickCount() - start_; }

void VirtualTime::advanceTo(DWORD at) const {
    DWORD now = elapsed();
    if (at > now) platform::AdvanceTestClock(at - now);
}

bool AnimateInVirtualTime(const VirtualTime& time, unsigned long long totalMs, unsigned fps,
                          const VirtualRunHooks& hooks) {
    unsigned long long frame = 0;
    unsigned long long nextFrame = 0;
    unsigned long long nextTick = 0;
    for (;;) {
        bool tick = nextTick <= nextFrame;
        unsigned long long at = tick ? nextTick : nextFrame;
        if (at >= totalMs || !Running) return true;
        if (hooks.beforeEvent && !hooks.beforeEvent(at)) return false;
        time.advanceTo(static_cast<DWORD>(at));
        if (tick) {
            DWORD interval = PaletteStep();
            nextTick = time.elapsed() + std::max<DWORD>(interval, 1);
            continue;
        }
        RunFrame();
        if (hooks.afterFrame && !hooks.afterFrame(frame)) return false;
        unsigned long long now = time.elapsed();
        ++frame;
        frame = std::max(frame, now * fps / 1000);
        while (frame * 1000 / fps < now) ++frame;
        nextFrame = frame * 1000 / fps;
    }
}
