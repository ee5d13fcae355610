#pragma once
// The seam between the Canvas and whatever shows it.  Modules draw on the
// Canvas as if it were the screen; a flush of a window's device context
// publishes the finished picture here, and palette animation publishes the
// new hardware colours.  A presenter shows the last picture through the
// current colours at its own pace, so colours flow without any redraw.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/gdi/dirty_tiles.h"

namespace gdi {

// The 256 hardware colours as 0x00RRGGBB words.
using HardwareColours = std::array<std::uint32_t, 256>;

class Presenter {
public:
    virtual ~Presenter() = default;

    // Takes a copy of a frame of hardware palette indices, rows top to bottom.
    virtual void publishFrame(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride) = 0;

    // The same for a frame of which only the `changed` tiles differ from the
    // last one published (of the same size); a presenter that keeps its own
    // copy may take just those.  By default the whole frame.
    virtual void publishChanged(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                                const DirtyTiles& changed) {
        (void)changed;
        publishFrame(pixels, width, height, stride);
    }

    // Takes the hardware colours now in force.
    virtual void publishPalette(const HardwareColours& colours) = 0;

    // Blocks until the next frame is due on the presenter's frame clock;
    // returns at once when the presenter is unpaced.
    virtual void pace() = 0;
};

// Converts `count` palette indices to 0x00RRGGBB pixels through `table`.
void ConvertIndexedToRgb32(const std::uint8_t* src, std::size_t count, const std::uint32_t* table,
                           std::uint32_t* dst);

}  // namespace gdi
