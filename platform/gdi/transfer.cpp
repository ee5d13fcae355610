#include "platform/gdi/transfer.h"

#include <algorithm>
#include <array>
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

enum class Axis { Columns, Rows };

// Which source pixel destination pixel k samples, both counted from the start
// edge of their rectangles (0 <= k < adw; adw and asw are the extents' sizes,
// so a mirror only changes which edge is the start), as
// floor((step * k + offset) / den) + bias.  These are the samples Win32
// takes under COLORONCOLOR:
// - enlarging (and 1:1): the pixel under the destination pixel's centre; a
//   centre on the boundary of two takes the first;
// - shrinking deletes pixels: a destination row keeps the source row at the
//   start of its share of the source (k * asw / adw rounded, halves up), a
//   destination column the source column at the end of its share (the one
//   before (k + 1) * asw / adw rounded, halves up).
struct SampleRule {
    std::int64_t step, offset, den, bias;

    SampleRule(std::int64_t adw, std::int64_t asw, Axis axis) : step(2 * asw), den(2 * adw) {
        if (adw >= asw)
            offset = asw - 1, bias = 0;
        else if (axis == Axis::Rows)
            offset = adw, bias = 0;
        else
            offset = 2 * asw + adw, bias = -1;
    }
};

AxisMap MapAxis(Axis axis, std::int64_t d, std::int64_t dw, std::int64_t s, std::int64_t sw, int lo, int hi,
                int sourceSize) {
    AxisMap map;
    if (dw == 0 || sw == 0) return map;
    const std::int64_t c0 = dw > 0 ? d : d + dw + 1, c1 = dw > 0 ? d + dw : d + 1;
    const std::int64_t v0 = std::max<std::int64_t>(c0, lo), v1 = std::min<std::int64_t>(c1, hi);
    if (v0 >= v1) return map;
    const std::int64_t adw = dw < 0 ? -dw : dw, asw = sw < 0 ? -sw : sw;
    const SampleRule rule(adw, asw, axis);
    // Walk k one destination pixel at a time from the first visible one,
    // keeping step * k + offset = q * den + r with 0 <= r < den.  Along a
    // mirrored destination k falls as v rises.
    const std::int64_t k = dw > 0 ? v0 - d : d - v0;
    const __int128 start = __int128{rule.step} * k + rule.offset;
    std::int64_t q = static_cast<std::int64_t>(start / rule.den), r = static_cast<std::int64_t>(start % rule.den);
    const std::int64_t wholeStep = rule.step / rule.den, partStep = rule.step % rule.den;
    std::int64_t first = -1;
    for (std::int64_t v = v0; v < v1; ++v) {
        const std::int64_t j = q + rule.bias;
        const std::int64_t src = sw > 0 ? s + j : s - j;
        if (src >= 0 && src < sourceSize) {
            if (first < 0) first = v;
            map.source.push_back(static_cast<int>(src));
        } else if (first >= 0) {
            break;  // the valid samples are contiguous
        }
        if (dw > 0) {
            q += wholeStep;
            r += partStep;
            if (r >= rule.den) r -= rule.den, ++q;
        } else {
            q -= wholeStep;
            r -= partStep;
            if (r < 0) r += rule.den, --q;
        }
    }
    map.first = static_cast<int>(first);
    return map;
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
    void span(int y, int x0, int x1) override {
        s_.touchSpan(y, x0, x1);
        op_(s_, y, x0, x1, values_ + (x0 - first_), code_, pattern_);
    }

private:
    Surface& s_;
    const std::uint32_t* values_;
    int first_;
    std::uint8_t code_;
    std::uint32_t pattern_;
    void (*op_)(Surface&, int, int, int, const std::uint32_t*, std::uint8_t, std::uint32_t);
};

constexpr std::uint8_t SourceCopyCode = 0xCC;

// The common case of an 8-bit copy without a clip region, straight into the
// destination rows: a row whose samples run along the source one by one
// through an identity map is one memcpy; the rest a byte look-up each.
void CopyIndices(Surface& dst, const SourcePixels& src, const IndexMap& map, const AxisMap& xs, const AxisMap& ys,
                 int xOffset, int yOffset) {
    std::array<std::uint8_t, 256> bytes;
    bool identity = true;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(map[i]);
        identity = identity && map[i] == i;
    }
    const std::size_t n = xs.source.size();
    const bool straight = xs.source.back() - xs.source.front() == static_cast<int>(n) - 1;
    const int* columns = xs.source.data();
    for (std::size_t r = 0; r < ys.source.size(); ++r) {
        const std::uint8_t* in = src.top + (ys.source[r] - yOffset) * src.pitch;
        std::uint8_t* out = dst.row(ys.first + static_cast<int>(r)) + xs.first;
        if (identity && straight) {
            std::memcpy(out, in + (columns[0] - xOffset), n);
        } else {
            for (std::size_t i = 0; i < n; ++i) out[i] = bytes[in[columns[i] - xOffset]];
        }
    }
    dst.touchRect(xs.first, ys.first, xs.first + static_cast<int>(n), ys.first + static_cast<int>(ys.source.size()));
}

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
    const AxisMap xs = MapAxis(Axis::Columns, to.x, to.width, from.x, from.width, limit.left, limit.right, source.width);
    const AxisMap ys = MapAxis(Axis::Rows, to.y, to.height, from.y, from.height, limit.top, limit.bottom, source.height);
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
    if (indexedSource && indexedDestination && code == SourceCopyCode && !dc.clip) {
        CopyIndices(dst, src, colours.map, xs, ys, xOffset, yOffset);
        return;
    }
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
}

}  // namespace gdi
