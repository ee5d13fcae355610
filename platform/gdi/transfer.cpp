#include "platform/gdi/transfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/pixel_ops.h"

namespace gdi {
namespace {

// One axis of a transfer: the visible destination coordinates [first,
// first + size()) and the source coordinate each samples.
struct AxisMap {
    int first = 0;
    std::vector<int> source;
};

AxisMap MapAxis(std::int64_t d, std::int64_t dw, std::int64_t s, std::int64_t sw, int lo, int hi, int sourceSize) {
    AxisMap axis;
    if (dw == 0 || sw == 0) return axis;
    const std::int64_t c0 = dw > 0 ? d : d + dw + 1, c1 = dw > 0 ? d + dw : d + 1;
    const std::int64_t v0 = std::max<std::int64_t>(c0, lo), v1 = std::min<std::int64_t>(c1, hi);
    const std::int64_t adw = dw < 0 ? -dw : dw, asw = sw < 0 ? -sw : sw;
    std::int64_t first = -1;
    for (std::int64_t v = v0; v < v1; ++v) {
        const std::int64_t k = dw > 0 ? v - d : d - v;
        const std::int64_t j = static_cast<std::int64_t>((static_cast<__int128>(2 * k + 1) * asw) / (2 * adw));
        const std::int64_t src = sw > 0 ? s + j : s - j;
        if (src < 0 || src >= sourceSize) {
            if (first >= 0) break;  // the valid samples are contiguous
            continue;
        }
        if (first < 0) first = v;
        axis.source.push_back(static_cast<int>(src));
    }
    axis.first = static_cast<int>(first);
    return axis;
}

std::uint32_t Load(const std::uint8_t* row, int x, int bitsPerPixel) {
    if (bitsPerPixel == 8) return row[x];
    const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * (bitsPerPixel / 8);
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

class CopySink final : public SpanSink {
public:
    CopySink(Surface& s, const std::uint32_t* values, int first, std::uint8_t code, std::uint32_t pattern)
        : s_(s), values_(values), first_(first), code_(code), pattern_(pattern), op_(OpsFor(s).copySpan) {}
    void span(int y, int x0, int x1) override { op_(s_, y, x0, x1, values_ + (x0 - first_), code_, pattern_); }

private:
    Surface& s_;
    const std::uint32_t* values_;
    int first_;
    std::uint8_t code_;
    std::uint32_t pattern_;
    void (*op_)(Surface&, int, int, int, const std::uint32_t*, std::uint8_t, std::uint32_t);
};

}  // namespace

SourcePixels PixelsOf(Surface& s) {
    return {s.row(0), s.bottomUp ? -s.stride : s.stride, s.width, s.height, s.bitsPerPixel};
}

SourceColours ColoursBetween(const Surface& source, const Surface& destination) {
    SourceColours c;
    if (source.device && destination.device) {  // both hold hardware indices
        for (std::uint32_t i = 0; i < 256; ++i) c.map[i] = i;
        return c;
    }
    if (destination.bitsPerPixel == 8) c.destinationTable = ColourTableOf(destination);
    if (source.bitsPerPixel != 8) return c;
    const std::array<Rgb, 256> table = ColourTableOf(source);
    if (destination.bitsPerPixel == 8)
        c.map = NearestMap(table, c.destinationTable);
    else
        std::copy(table.begin(), table.end(), c.map.begin());
    return c;
}

void Transfer(DeviceContext& dc, Surface& dst, const SourcePixels& source, const SourceColours& colours,
              const Extent& to, const Extent& from, std::uint8_t code, std::uint32_t pattern, bool overlapping) {
    const RECT limit = DrawLimit(dc, dst);
    if (limit.left >= limit.right || limit.top >= limit.bottom) return;
    const AxisMap xs = MapAxis(to.x, to.width, from.x, from.width, limit.left, limit.right, source.width);
    const AxisMap ys = MapAxis(to.y, to.height, from.y, from.height, limit.top, limit.bottom, source.height);
    if (xs.source.empty() || ys.source.empty()) return;

    SourcePixels src = source;
    std::vector<std::uint8_t> copy;
    int xOffset = 0, yOffset = 0;
    if (overlapping) {
        const auto [minX, maxX] = std::minmax_element(xs.source.begin(), xs.source.end());
        const auto [minY, maxY] = std::minmax_element(ys.source.begin(), ys.source.end());
        const std::size_t rowBytes = static_cast<std::size_t>(*maxX - *minX + 1) * (source.bitsPerPixel / 8);
        const int rows = *maxY - *minY + 1;
        copy.resize(rowBytes * static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            std::memcpy(copy.data() + rowBytes * r,
                        source.top + (*minY + r) * source.pitch + static_cast<std::ptrdiff_t>(*minX) * (source.bitsPerPixel / 8),
                        rowBytes);
        src.top = copy.data();
        src.pitch = static_cast<std::ptrdiff_t>(rowBytes);
        xOffset = *minX;
        yOffset = *minY;
    }

    const bool indexedSource = src.bitsPerPixel == 8;
    const bool indexedDestination = dst.bitsPerPixel == 8;
    NearestCache nearest(colours.destinationTable);
    std::vector<std::uint32_t> values(xs.source.size());
    CopySink copySink(dst, values.data(), xs.first, code, pattern);
    ClippedSink out(dc.clip ? &*dc.clip : nullptr, copySink);
    const int x1 = xs.first + static_cast<int>(xs.source.size());
    for (std::size_t r = 0; r < ys.source.size(); ++r) {
        const std::uint8_t* row = src.top + (ys.source[r] - yOffset) * src.pitch;
        if (indexedSource) {
            for (std::size_t i = 0; i < values.size(); ++i) values[i] = colours.map[row[xs.source[i] - xOffset]];
        } else {
            for (std::size_t i = 0; i < values.size(); ++i) {
                const std::uint32_t v = Load(row, xs.source[i] - xOffset, src.bitsPerPixel);
                values[i] = indexedDestination ? nearest(v) : v;
            }
        }
        out.span(ys.first + static_cast<int>(r), xs.first, x1);
    }
    dst.dirty = true;
}

}  // namespace gdi
