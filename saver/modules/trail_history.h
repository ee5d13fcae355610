#pragma once
// What the modules that draw a moving figure every frame and erase it behind
// themselves share: the history of the parameters each frame was drawn with,
// so that an eraser can replay the same motion in black a fixed number of
// frames later, and the image time-out that erases the whole trail.
#include <type_traits>

#include "platform/win32.h"
#include "saver/framework/run_flag.h"
#include "saver/modules/motion.h"

constexpr LONG TrailHistoryLength = 300;

// A zero-filled, locked block from the global heap, or null after the debug
// message when memory runs out.
void* AllocateHistory(HGLOBAL* memory, SIZE_T bytes);
void FreeHistory(HGLOBAL* memory);

template <typename Frame>
struct TrailHistory {
    static_assert(std::is_trivially_copyable_v<Frame>, "frames live in zero-filled heap memory");
    HGLOBAL memory;
    Frame* frames;      // TrailHistoryLength records while allocated
    LONG delay;         // frames from drawing to erasing; TrailHistoryLength or more never erases
    LONG writeIndex;
    LONG eraseIndex;
    LONG frameCounter;  // counts up to the delay
};

template <typename Frame>
void AllocateTrail(TrailHistory<Frame>& trail) {
    if (trail.frames == nullptr) {
        trail.frames = static_cast<Frame*>(AllocateHistory(&trail.memory, sizeof(Frame) * TrailHistoryLength));
    }
}

template <typename Frame>
void FreeTrail(TrailHistory<Frame>& trail) {
    FreeHistory(&trail.memory);
    trail.frames = nullptr;
}

template <typename Frame>
bool TrailFinite(const TrailHistory<Frame>& trail) {
    return trail.delay < TrailHistoryLength;
}

// A finite trail writes `delay` records ahead of the eraser, so the record
// the eraser reads is the one written `delay` frames before.
template <typename Frame>
void StartTrail(TrailHistory<Frame>& trail, LONG delay) {
    trail.delay = delay;
    const LONG first = TrailFinite(trail) ? delay : 0;
    trail.writeIndex = first;
    trail.eraseIndex = first;
    trail.frameCounter = 0;
}

template <typename Frame>
void RememberFrame(TrailHistory<Frame>& trail, const Frame& frame) {
    trail.frames[trail.writeIndex] = frame;
}

// `erase` draws the oldest remembered frame in black.
template <typename Frame, typename Erase>
void EraseOldestFrame(TrailHistory<Frame>& trail, Erase erase) {
    erase(trail.frames[trail.eraseIndex]);
    trail.eraseIndex = (trail.eraseIndex + 1) % TrailHistoryLength;
}

// After a frame was drawn: erase the frame `delay` frames older once the
// trail is that long, and move on to the next record.
template <typename Frame, typename Erase>
void FollowTrail(TrailHistory<Frame>& trail, Erase erase) {
    if (!TrailFinite(trail) || trail.frameCounter < trail.delay) {
        ++trail.frameCounter;
    } else {
        EraseOldestFrame(trail, erase);
    }
    trail.writeIndex = (trail.writeIndex + 1) % TrailHistoryLength;
}

// Erases every frame still on the screen.
template <typename Frame, typename Erase>
void FlushTrail(TrailHistory<Frame>& trail, Erase erase) {
    if (trail.frames == nullptr || !TrailFinite(trail)) {
        return;
    }
    while (trail.eraseIndex != trail.writeIndex) {
        EraseOldestFrame(trail, erase);
    }
}

// True when the image has run out, once its whole trail is erased, so that
// a finite trail leaves a clean picture for the next image.
template <typename Frame, typename Erase>
bool EndImageWhenDue(TrailHistory<Frame>& trail, DWORD endTime, Erase erase) {
    if (!TickCountPassed(endTime)) {
        return false;
    }
    FlushTrail(trail, erase);
    return true;
}

// Frees the history.  After the run the screen goes away, so only while the
// run goes on is the trail erased first.
template <typename Frame, typename Erase>
void ReleaseTrail(TrailHistory<Frame>& trail, Erase erase) {
    if (Running) {
        FlushTrail(trail, erase);
    }
    FreeTrail(trail);
}
