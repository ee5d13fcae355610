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
#include "platform/types.h"

namespace platform::saver {

class WindowPresenter : public gdi::Presenter {
public:
    WindowPresenter();

    void publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) override;
    void publishChanged(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const gdi::DirtyTiles& changed) override;
    void publishPalette(const gdi::HardwareColours& colours) override;
    void pace() override;

    // Window thread: takes what was published since the last call; true when
    // the picture changed (a new frame or new colours).
    bool takeChanges();
    // Window thread: draws the taken picture into `dst` (window size).  With
    // `onlyChanged`, and when the colours stayed and the frame lands 1:1,
    // only the tiles that changed since the picture taken before.  Returns
    // the window rectangles it wrote, valid until the next call.  `alpha` is
    // set in every pixel.
    const std::vector<RECT>& render(std::uint32_t* dst, int width, int height, std::ptrdiff_t stride,
                                    bool onlyChanged = false, std::uint32_t alpha = 0);

private:
    struct Frame {
        std::vector<std::uint8_t> pixels;
        int width = 0;
        int height = 0;
    };

    // Two buffers take turns: frames are published into `pending_` while the
    // window thread shows `shown_`.  A buffer that comes back from being
    // shown lacks the tiles published since it was taken (`stale_`); the
    // next publication copies them from the Canvas along with its own.
    std::mutex mutex_;
    Frame pending_;
    bool frameChanged_ = false;
    gdi::DirtyTiles pendingChanged_;  // tiles published into pending_ since the last take
    gdi::DirtyTiles stale_;           // tiles pending_ lacks
    gdi::DirtyTiles copy_;            // what a publication copies
    gdi::HardwareColours pendingColours_{};
    bool coloursChanged_ = false;

    // Window thread only.
    Frame shown_;
    gdi::DirtyTiles shownChanged_;  // tiles of shown_ that differ from the frame taken before
    bool shownColoursChanged_ = true;
    gdi::HardwareColours shownColours_{};
    gdi::HardwareColours renderColours_{};  // shownColours_ with the alpha of the last render
    CanvasScaler scaler_;
    std::vector<RECT> written_;

    gdi::FrameClock clock_;
};

}  // namespace platform::saver
