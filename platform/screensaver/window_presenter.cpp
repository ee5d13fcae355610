#include "platform/screensaver/window_presenter.h"

#include <cstring>
#include <utility>

namespace platform::saver {

WindowPresenter::WindowPresenter() : clock_(gdi::FrameClock::kDefaultFps) {}

void WindowPresenter::publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) {
    if (!pixels || width <= 0 || height <= 0 || (stride >= 0 ? stride : -stride) < width) return;
    std::lock_guard lock(mutex_);
    pending_.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::memcpy(pending_.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    pixels + y * stride, static_cast<std::size_t>(width));
    }
    pending_.width = width;
    pending_.height = height;
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
        // The old shown buffer becomes the next one to publish into.
        std::swap(shown_, pending_);
        frameChanged_ = false;
    }
    if (coloursChanged_) {
        shownColours_ = pendingColours_;
        coloursChanged_ = false;
    }
    return changed;
}

void WindowPresenter::render(std::uint32_t* dst, int width, int height, std::ptrdiff_t stride) {
    scaler_.render(shown_.pixels.empty() ? nullptr : shown_.pixels.data(), shown_.width, shown_.height,
                   shown_.width, shownColours_.data(), dst, width, height, stride);
}

}  // namespace platform::saver
