// BitBlt, StretchBlt, StretchDIBits and SetDIBitsToDevice.
#include <cstring>
#include <mutex>

#include "platform/gdi/dib.h"
#include "platform/gdi/paint.h"
#include "platform/gdi/transfer.h"

using namespace gdi;

namespace {

std::uint32_t PatternOf(const DeviceContext& dc, const Surface& s, std::uint8_t code) {
    return Rop3UsesPattern(code) ? ResolveColour(dc, s, dc.brush->colour) : 0;
}

// A raster operation without source is a pattern fill of the destination.
BOOL PatternOnly(HDC hdc, const Extent& to, DWORD rop) {
    auto clampInt = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    // Negative extents cover x + extent + 1 .. x, as for transfers.
    const std::int64_t x = to.width < 0 ? to.x + to.width + 1 : to.x;
    const std::int64_t y = to.height < 0 ? to.y + to.height + 1 : to.y;
    const std::int64_t w = to.width < 0 ? -to.width : to.width, h = to.height < 0 ? -to.height : to.height;
    return PatBlt(hdc, clampInt(x), clampInt(y), clampInt(w), clampInt(h), rop);
}

// A transfer between two DCs, which may be the same one.
BOOL SurfaceTransfer(HDC hdst, const Extent& to, HDC hsrc, const Extent& from, DWORD rop) {
    const auto code = static_cast<std::uint8_t>(rop >> 16);
    if (!Rop3UsesSource(code)) return PatternOnly(hdst, to, rop);
    auto dst = LookupDC(hdst);
    auto src = LookupDC(hsrc);
    if (!dst || !src) return FALSE;
    std::unique_lock<std::mutex> dstLock(dst->mutex, std::defer_lock), srcLock(src->mutex, std::defer_lock);
    if (dst == src)
        dstLock.lock();
    else
        std::lock(dstLock, srcLock);
    auto dstSurface = dst->surface();
    auto srcSurface = src->surface();
    if (!dstSurface || !srcSurface) return FALSE;
    const std::uint32_t pattern = PatternOf(*dst, *dstSurface, code);
    std::unique_lock<std::mutex> dstPixels(dstSurface->mutex, std::defer_lock),
        srcPixels(srcSurface->mutex, std::defer_lock);
    const bool same = dstSurface == srcSurface;
    if (same)
        dstPixels.lock();
    else
        std::lock(dstPixels, srcPixels);
    const SourceColours colours = ColoursBetween(*srcSurface, *dstSurface);
    Transfer(*dst, *dstSurface, PixelsOf(*srcSurface), colours, to, from, code, pattern, same);
    return TRUE;
}

// The colour conversion of a DIB drawn on a DC's surface.
SourceColours DibColoursFor(const BITMAPINFO* info, const DibLayout& layout, UINT usage, const DeviceContext& dc,
                            const Surface& s) {
    SourceColours colours;
    if (s.bitsPerPixel == 8) colours.destinationTable = ColourTableOf(s);
    if (layout.bitsPerPixel != 8) return colours;
    if (usage == DIB_PAL_COLORS && s.device) {
        // Logical palette indices map straight to hardware indices.
        const auto* table = reinterpret_cast<const std::uint8_t*>(info) + info->bmiHeader.biSize;
        std::lock_guard lock(dc.palette->mutex);
        for (int i = 0; i < 256; ++i) {
            WORD index = 0;
            if (i < layout.colours) std::memcpy(&index, table + 2 * i, 2);
            colours.map[i] = dc.palette->hardwareIndex(index);
        }
        return colours;
    }
    const std::array<Rgb, 256> table = DibColours(info, layout, usage, &dc);
    if (s.bitsPerPixel == 8)
        colours.map = NearestMap(table, colours.destinationTable);
    else
        std::copy(table.begin(), table.end(), colours.map.begin());
    return colours;
}

// Draws DIB rows held in caller memory: `source` holds them top-down.
BOOL DibTransfer(HDC hdc, const Extent& to, const Extent& from, const BITMAPINFO* info, const DibLayout& layout,
                 const SourcePixels& source, UINT usage, DWORD rop) {
    const auto code = static_cast<std::uint8_t>(rop >> 16);
    if (!Rop3UsesSource(code)) return PatternOnly(hdc, to, rop);
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        const SourceColours colours = DibColoursFor(info, layout, usage, dc, s);
        const std::uint32_t pattern = PatternOf(dc, s, code);
        std::lock_guard pixels(s.mutex);
        Transfer(dc, s, source, colours, to, from, code, pattern, false);
        return true;
    });
}

}  // namespace

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int xSource, int ySource, DWORD rop) {
    return SurfaceTransfer(dc, {x, y, width, height}, source, {xSource, ySource, width, height}, rop);
}

BOOL StretchBlt(HDC dc, int xDest, int yDest, int widthDest, int heightDest, HDC source, int xSource, int ySource,
                int widthSource, int heightSource, DWORD rop) {
    return SurfaceTransfer(dc, {xDest, yDest, widthDest, heightDest}, source,
                           {xSource, ySource, widthSource, heightSource}, rop);
}

int StretchDIBits(HDC dc, int xDest, int yDest, int widthDest, int heightDest, int xSource, int ySource,
                  int widthSource, int heightSource, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop) {
    const auto layout = ReadDibLayout(info);
    if (!layout || !bits || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return 0;
    const auto* base = static_cast<const std::uint8_t*>(bits);
    const auto stride = static_cast<std::ptrdiff_t>(layout->stride);
    SourcePixels source{base, stride, layout->width, layout->height, layout->bitsPerPixel};
    Extent from{xSource, ySource, widthSource, heightSource};
    if (layout->bottomUp) {
        // Rows count up from the bottom row, which is stored first.
        source.top = base + (layout->height - 1) * stride;
        source.pitch = -stride;
        const std::int64_t h = layout->height;
        from.y = heightSource >= 0 ? h - ySource - heightSource : h - ySource - heightSource - 2;
    }
    if (!DibTransfer(dc, {xDest, yDest, widthDest, heightDest}, from, info, *layout, source, usage, rop)) return 0;
    return heightSource < 0 ? -heightSource : heightSource;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSource, int ySource,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    const auto layout = ReadDibLayout(info);
    if (!layout || !bits || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return 0;
    if (width > INT32_MAX || height > INT32_MAX || lines == 0 || startScan >= static_cast<UINT>(layout->height))
        return 0;
    const int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(layout->height) - startScan));
    const auto* base = static_cast<const std::uint8_t*>(bits);
    const auto stride = static_cast<std::ptrdiff_t>(layout->stride);
    // `bits` holds scan lines startScan .. startScan + rows - 1 in stored order.
    SourcePixels band{base, stride, layout->width, rows, layout->bitsPerPixel};
    const std::int64_t w = width, h = height;
    Extent from{xSource, std::int64_t{ySource} - startScan, w, h};
    if (layout->bottomUp) {
        band.top = base + (rows - 1) * stride;
        band.pitch = -stride;
        from.y = std::int64_t{startScan} + rows - ySource - h;
    }
    if (!DibTransfer(dc, {xDest, yDest, w, h}, from, info, *layout, band, usage, SRCCOPY)) return 0;
    return rows;
}
