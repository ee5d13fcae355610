#include "platform/gdi/present/offscreen_presenter.h"

#include <cstring>

namespace gdi {

namespace {

// Rows `stride` apart hold `width` pixels without overlapping, either way up.
bool StrideFits(std::ptrdiff_t stride, int width) {
    return stride >= width || stride <= -static_cast<std::ptrdiff_t>(width);
}

}  // namespace

OffscreenPresenter::OffscreenPresenter(int fps) : clock_(fps) {}

void OffscreenPresenter::publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) {
    if (width < 0 || height < 0) {
        return;
    }
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    if (w != 0 && h != 0 && (pixels == nullptr || !StrideFits(stride, width))) {
        return;
    }
    std::lock_guard lock(mutex_);
    frame_.resize(w * h);
    if (w * h != 0) {
        if (stride == width) {
            std::memcpy(frame_.data(), pixels, w * h);
        } else {
            for (std::size_t y = 0; y < h; ++y) {
                std::memcpy(frame_.data() + y * w, pixels + static_cast<std::ptrdiff_t>(y) * stride, w);
            }
        }
    }
    size_ = {width, height};
    ++frames_;
}

void OffscreenPresenter::publishPalette(const HardwareColours& colours) {
    std::lock_guard lock(mutex_);
    colours_ = colours;
    ++palettes_;
}

void OffscreenPresenter::pace() {
    clock_.wait();
}

void OffscreenPresenter::setFps(int fps) {
    clock_.setFps(fps);
}

int OffscreenPresenter::fps() const {
    return clock_.fps();
}

OffscreenPresenter::Size OffscreenPresenter::size() const {
    std::lock_guard lock(mutex_);
    return size_;
}

std::uint64_t OffscreenPresenter::frameCount() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::uint64_t OffscreenPresenter::paletteCount() const {
    std::lock_guard lock(mutex_);
    return palettes_;
}

std::vector<std::uint8_t> OffscreenPresenter::indices() const {
    std::lock_guard lock(mutex_);
    return frame_;
}

HardwareColours OffscreenPresenter::palette() const {
    std::lock_guard lock(mutex_);
    return colours_;
}

std::vector<std::uint32_t> OffscreenPresenter::rgb() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint32_t> out(frame_.size());
    ConvertIndexedToRgb32(frame_.data(), frame_.size(), colours_.data(), out.data());
    return out;
}

bool OffscreenPresenter::rgbInto(std::uint32_t* dst, int width, int height, std::ptrdiff_t dstStride) const {
    std::lock_guard lock(mutex_);
    if (width != size_.width || height != size_.height) {
        return false;
    }
    if (width == 0 || height == 0) {
        return true;
    }
    if (dst == nullptr || !StrideFits(dstStride, width)) {
        return false;
    }
    const std::size_t w = static_cast<std::size_t>(width);
    if (dstStride == width) {
        ConvertIndexedToRgb32(frame_.data(), frame_.size(), colours_.data(), dst);
        return true;
    }
    for (int y = 0; y < height; ++y) {
        ConvertIndexedToRgb32(frame_.data() + static_cast<std::size_t>(y) * w, w, colours_.data(), dst + y * dstStride);
    }
    return true;
}

}  // namespace gdi
