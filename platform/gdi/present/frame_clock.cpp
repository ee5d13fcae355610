#include "platform/gdi/present/frame_clock.h"

#include <algorithm>

#include "platform/kernel/kernel.h"

namespace gdi {

namespace {

std::uint64_t Deadline(std::uint64_t frame, int fps) {
    return frame * 1000 / static_cast<std::uint64_t>(fps);
}

// Deadlines are whole milliseconds, so above 1000 frames a second they could
// no longer be told apart.
int ValidFps(int fps) {
    return std::clamp(fps, 0, FrameClock::kMaxFps);
}

}  // namespace

FrameClock::FrameClock(int fps) : fps_(ValidFps(fps)) {}

void FrameClock::setFps(int fps) {
    std::lock_guard lock(mutex_);
    fps_ = ValidFps(fps);
}

int FrameClock::fps() const {
    std::lock_guard lock(mutex_);
    return fps_;
}

void FrameClock::wait() {
    DWORD pause = 0;
    {
        std::lock_guard lock(mutex_);
        if (fps_ == 0) {
            gridFps_ = 0;
            return;
        }
        const DWORD now = GetTickCount();
        if (gridFps_ != fps_) {
            gridFps_ = fps_;
            lastTick_ = now;
            elapsed_ = 0;
            nextFrame_ = 1;
        } else {
            elapsed_ += static_cast<DWORD>(now - lastTick_);
            lastTick_ = now;
        }
        const std::uint64_t due = Deadline(nextFrame_, fps_);
        if (elapsed_ < due) {
            pause = static_cast<DWORD>(due - elapsed_);
            ++nextFrame_;
        } else {
            // Late: this frame goes out now and the next one waits for the
            // first deadline still ahead, however many were missed.
            nextFrame_ = elapsed_ * static_cast<std::uint64_t>(fps_) / 1000 + 1;
            if (Deadline(nextFrame_, fps_) <= elapsed_) {
                ++nextFrame_;  // the estimate rounds down onto the deadline just passed
            }
        }
    }
    if (pause != 0) {
        Sleep(pause);
    }
}

}  // namespace gdi
