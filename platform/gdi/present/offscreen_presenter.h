#pragma once
// A presenter without a screen: it keeps the last published frame and
// colours for whoever wants to look at them (tests, the --render driver, a
// window-system presenter that shows them).  The drawing thread publishes
// frames, the palette thread colours and any other thread reads, all at once.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/gdi/present/frame_clock.h"
#include "platform/gdi/presenter.h"

namespace gdi {

class OffscreenPresenter : public Presenter {
public:
    // Unpaced unless a rate is given, so tests run at full speed.
    explicit OffscreenPresenter(int fps = 0);

    // A frame with a negative size, a stride shorter than a row or no pixels
    // is ignored; a 0 x 0 frame is kept as empty.  The stride may be negative
    // (rows bottom-up in memory).
    void publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) override;
    void publishPalette(const HardwareColours& colours) override;
    void pace() override;

    void setFps(int fps);
    int fps() const;

    struct Size {
        int width = 0;
        int height = 0;
    };
    Size size() const;
    std::uint64_t frameCount() const;
    std::uint64_t paletteCount() const;
    // The last frame's indices, width x height, rows top to bottom.
    std::vector<std::uint8_t> indices() const;
    // The colours last published (black until then).
    HardwareColours palette() const;

    // The last frame through the last colours, rows top to bottom.
    std::vector<std::uint32_t> rgb() const;
    // The same into caller memory (`dstStride` pixels between rows), when the
    // last frame is exactly width x height; otherwise false, dst untouched.
    bool rgbInto(std::uint32_t* dst, int width, int height, std::ptrdiff_t dstStride) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::uint8_t> frame_;
    Size size_;
    HardwareColours colours_{};
    std::uint64_t frames_ = 0;
    std::uint64_t palettes_ = 0;
    FrameClock clock_;
};

}  // namespace gdi
