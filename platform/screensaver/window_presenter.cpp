#include "platform/screensaver/window_presenter.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform::saver {

WindowPresenter::WindowPresenter() : clock_(gdi::FrameClock::kDefaultFps) {}

void WindowPresenter::Rows::add(int t, int b) {
    if (t >= b) return;
    if (empty()) {
        top = t;
        bottom = b;
        return;
    }
    top = std::min(top, t);
    bottom = std::max(bottom, b);
}

void WindowPresenter::publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) {
    publishRows(pixels, width, height, stride, 0, height);
}

void WindowPresenter::publishRows(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                                  int top, int bottom) {
    if (!pixels || width <= 0 || height <= 0 || (stride >= 0 ? stride : -stride) < width) return;
    top = std::max(top, 0);
    bottom = std::min(bottom, height);
    if (top >= bottom) return;
    std::lock_guard lock(mutex_);
    Rows copy{top, bottom};
    if (pending_.width != width || pending_.height != height) {
        pending_.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        pending_.width = width;
        pending_.height = height;
        copy = {0, height};
        pendingChanged_ = {0, height};
    }
    copy.add(stale_.top, stale_.bottom);
    stale_ = {};
    for (int y = copy.top; y < copy.bottom; ++y) {
        std::memcpy(pending_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    pixels + y * stride, static_cast<std::size_t>(width));
    }
    pendingChanged_.add(top, bottom);
    frameChanged_ = true;
}

void WindowPresenter::publishPalette(const gdi::HardwareColours& colours) {
    std::lock_guard lock(mutex_);
    pendingColours_ = colours;
    coloursChanged_ = true;
}

void WindowPresenter::pace() { clock_.wait(); }

bool WindowPresenter::takeChanges() {
    std::lock_guard lock(mutex_);
    bool changed = frameChanged_ || coloursChanged_;
    if (frameChanged_) {
        // The old shown buffer becomes the next one to publish into; it
        // lacks what was published since it was taken.
        const bool resized = shown_.width != pending_.width || shown_.height != pending_.height;
        std::swap(shown_, pending_);
        shownChanged_.add(pendingChanged_.top, pendingChanged_.bottom);
        if (resized) shownChanged_ = {0, shown_.height};
        stale_ = pendingChanged_;
        pendingChanged_ = {};
        frameChanged_ = false;
    }
    if (coloursChanged_) {
        shownColours_ = pendingColours_;
        shownColoursChanged_ = true;
        coloursChanged_ = false;
    }
    return changed;
}

std::pair<int, int> WindowPresenter::render(std::uint32_t* dst, int width, int height, std::ptrdiff_t stride,
                                            bool onlyChanged, std::uint32_t alpha) {
    const std::uint8_t* pixels = shown_.pixels.empty() ? nullptr : shown_.pixels.data();
    std::pair<int, int> rows{0, height};
    if (onlyChanged && !shownColoursChanged_ && pixels) {
        const Placement p = FitCanvas(shown_.width, shown_.height, width, height);
        if (p.width == shown_.width && p.height == shown_.height) {
            if (shownChanged_.empty()) return {0, 0};
            rows = {p.y + shownChanged_.top, p.y + shownChanged_.bottom};
        }
    }
    for (std::size_t i = 0; i < renderColours_.size(); ++i) renderColours_[i] = shownColours_[i] | alpha;
    scaler_.render(pixels, shown_.width, shown_.height, shown_.width, renderColours_.data(), dst, width, height,
                   stride, rows.first, rows.second, alpha);
    shownChanged_ = {};
    shownColoursChanged_ = false;
    return rows;
}

}  // namespace platform::saver
