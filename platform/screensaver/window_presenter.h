#pragma once
// The presenter of the saver window: the drawing thread publishes frames,
// the palette thread colours; the window thread takes the latest of both at
// the display's rate and draws them into the window's image.  Frames are
// shown from the presenter's own copy, never from the live Canvas, so a
// frame is shown whole or not at all.
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/gdi/present/frame_clock.h"
#include "platform/gdi/presenter.h"
#include "platform/screensaver/canvas_scaler.h"

namespace platform::saver {

class WindowPresenter : public gdi::Presenter {
public:
    WindowPresenter();

    void publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) override;
    void publishPalette(const gdi::HardwareColours& colours) override;
    void pace() override;

    // Window thread: takes what was published since the last call; true when
    // the picture changed (a new frame or new colours).
    bool takeChanges();
    // Window thread: draws the taken picture into `dst` (window size).
    void render(std::uint32_t* dst, int width, int height, std::ptrdiff_t stride);

private:
    struct Frame {
        std::vector<std::uint8_t> pixels;
        int width = 0;
        int height = 0;
    };

    std::mutex mutex_;
    Frame pending_;
    bool frameChanged_ = false;
    gdi::HardwareColours pendingColours_{};
    bool coloursChanged_ = false;

    // Window thread only.
    Frame shown_;
    gdi::HardwareColours shownColours_{};
    CanvasScaler scaler_;

    gdi::FrameClock clock_;
};

}  // namespace platform::saver
