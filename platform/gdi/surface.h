#pragma once
// Pixel storage of the Canvas: window client areas, device bitmaps and DIB
// sections.  8-bit surfaces hold either hardware palette indices (device
// surfaces) or indices into their own colour table (8-bit DIB sections);
// 24- and 32-bit surfaces hold blue, green, red bytes, as DIBs do.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/gdi/dirty_tiles.h"
#include "platform/types.h"

namespace gdi {

// A colour as 0x00RRGGBB, the order of the presenter's hardware colours.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }
constexpr unsigned RedOf(Rgb c) { return (c >> 16) & 0xFF; }
constexpr unsigned GreenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr unsigned BlueOf(Rgb c) { return c & 0xFF; }
constexpr Rgb RgbFromColorref(COLORREF c) { return MakeRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
constexpr COLORREF ColorrefFromRgb(Rgb c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

// Largest surface side and size accepted, far beyond any screen.
constexpr int kMaxSurfaceSide = 32768;
constexpr std::size_t kMaxSurfaceBytes = std::size_t{1} << 30;

struct Surface {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;          // 8, 24 or 32
    std::ptrdiff_t stride = 0;     // bytes per stored row, a multiple of 4
    bool bottomUp = false;         // the first stored row is the bottom one
    bool device = true;            // 8-bit hardware indices (no own colour table)
    std::array<Rgb, 256> table{};  // colour table of an 8-bit DIB section
    std::uint8_t* bits = nullptr;  // first stored row
    std::unique_ptr<std::uint8_t[]> storage;
    std::mutex mutex;              // held while the pixels are read or written
    std::atomic<bool> dirty{true}; // changed since the last publication
    // What changed since the last publication: at first everything.  Under
    // `mutex`.
    DirtyTiles changed;

    // nullptr for sizes outside 1..kMaxSurfaceSide or too many bytes.
    static std::shared_ptr<Surface> Create(int width, int height, int bitsPerPixel, bool bottomUp,
                                           bool device);

    std::uint8_t* row(int y) {
        return bits + (bottomUp ? static_cast<std::ptrdiff_t>(height - 1 - y) : y) * stride;
    }
    int bytesPerPixel() const { return bitsPerPixel / 8; }
    // Notes that pixels [x0, x1) of row y changed; the writer holds `mutex`.
    void touchSpan(int y, int x0, int x1) {
        changed.addSpan(y, x0, x1);
        dirty.store(true, std::memory_order_relaxed);
    }
    // The same for the rectangle [x0, x1) x [y0, y1).
    void touchRect(int x0, int y0, int x1, int y1) {
        changed.add(x0, y0, x1, y1);
        dirty.store(true, std::memory_order_relaxed);
    }
    RECT bounds() const { return {0, 0, width, height}; }
};

}  // namespace gdi
