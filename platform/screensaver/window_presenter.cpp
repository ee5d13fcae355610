#include "platform/screensaver/window_presenter.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform::saver {

WindowPresenter::WindowPresenter() : clock_(gdi::FrameClock::kDefaultFps) {}

void WindowPresenter::publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) {
    gdi::DirtyTiles all;
    all.reset(width, height);
    all.addAll();
    publishChanged(pixels, width, height, stride, all);
}

void WindowPresenter::publishChanged(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                                     const gdi::DirtyTiles& changed) {
    if (!pixels || width <= 0 || height <= 0 || (stride >= 0 ? stride : -stride) < width) return;
    std::lock_guard lock(mutex_);
    if (pending_.width != width || pending_.height != height) {
        pending_.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        pending_.width = width;
        pending_.height = height;
        pendingChanged_.reset(width, height);
        pendingChanged_.addAll();
        stale_.reset(width, height);
        stale_.addAll();
    }
    if (copy_.width() != width || copy_.height() != height) copy_.reset(width, height);
    copy_.clear();
    copy_.add(changed);
    copy_.add(stale_);
    stale_.clear();
    copy_.forEachRun([&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y) {
            std::memcpy(pending_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x0,
                        pixels + y * stride + x0, static_cast<std::size_t>(x1 - x0));
        }
    });
    pendingChanged_.add(changed);
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
        if (resized) {
            shownChanged_.reset(shown_.width, shown_.height);
            shownChanged_.addAll();
        } else {
            shownChanged_.add(pendingChanged_);
        }
        // The buffer back from being shown lacks what went into the other.
        std::swap(stale_, pendingChanged_);
        if (pendingChanged_.width() != pending_.width || pendingChanged_.height() != pending_.height)
            pendingChanged_.reset(pending_.width, pending_.height);
        pendingChanged_.clear();
        frameChanged_ = false;
    }
    if (coloursChanged_) {
        shownColours_ = pendingColours_;
        shownColoursChanged_ = true;
        coloursChanged_ = false;
    }
    return changed;
}

const std::vector<RECT>& WindowPresenter::render(std::uint32_t* dst, int width, int height, std::ptrdiff_t stride,
                                                bool onlyChanged, std::uint32_t alpha) {
    written_.clear();
    const std::uint8_t* pixels = shown_.pixels.empty() ? nullptr : shown_.pixels.data();
    for (std::size_t i = 0; i < renderColours_.size(); ++i) renderColours_[i] = shownColours_[i] | alpha;
    const Placement p = FitCanvas(shown_.width, shown_.height, width, height);
    if (onlyChanged && !shownColoursChanged_ && pixels && p.width == shown_.width && p.height == shown_.height) {
        // 1:1, same colours: the changed tiles alone.
        const auto rowLength = static_cast<std::size_t>(shown_.width);
        shownChanged_.forEachRun([&](int x0, int y0, int x1, int y1) {
            for (int y = y0; y < y1; ++y) {
                gdi::ConvertIndexedToRgb32(pixels + static_cast<std::size_t>(y) * rowLength + x0,
                                           static_cast<std::size_t>(x1 - x0), renderColours_.data(),
                                           dst + (p.y + y) * stride + p.x + x0);
            }
            written_.push_back(RECT{p.x + x0, p.y + y0, p.x + x1, p.y + y1});
        });
    } else {
        scaler_.render(pixels, shown_.width, shown_.height, shown_.width, renderColours_.data(), dst, width, height,
                       stride, 0, height, alpha);
        written_.push_back(RECT{0, 0, width, height});
    }
    shownChanged_.clear();
    shownColoursChanged_ = false;
    return written_;
}

}  // namespace platform::saver
