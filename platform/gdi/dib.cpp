// DIB sections and device bitmaps, and the colour tables of DIBs.
#include "platform/gdi/dib.h"

#include <algorithm>
#include <cstring>

namespace gdi {

std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info) {
    if (!info) return std::nullopt;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biCompression != BI_RGB) return std::nullopt;
    if (h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32) return std::nullopt;
    if (h.biWidth <= 0 || h.biWidth > kMaxSurfaceSide || h.biHeight == 0 || h.biHeight < -kMaxSurfaceSide ||
        h.biHeight > kMaxSurfaceSide)
        return std::nullopt;
    DibLayout layout;
    layout.width = h.biWidth;
    layout.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    layout.bottomUp = h.biHeight > 0;
    layout.bitsPerPixel = h.biBitCount;
    layout.stride = (static_cast<std::size_t>(layout.width) * h.biBitCount + 31) / 32 * 4;
    if (layout.stride * static_cast<std::size_t>(layout.height) > kMaxSurfaceBytes) return std::nullopt;
    if (h.biBitCount == 8) layout.colours = h.biClrUsed == 0 ? 256 : static_cast<int>(std::min<DWORD>(h.biClrUsed, 256));
    return layout;
}

std::array<Rgb, 256> DibColours(const BITMAPINFO* info, const DibLayout& layout, UINT usage,
                                const DeviceContext* dc) {
    std::array<Rgb, 256> table{};
    const auto* base = reinterpret_cast<const std::uint8_t*>(info) + info->bmiHeader.biSize;
    if (usage == DIB_PAL_COLORS && dc) {
        const PaletteObject& palette = *dc->palette;
        std::lock_guard lock(palette.mutex);
        for (int i = 0; i < layout.colours; ++i) {
            WORD index;
            std::memcpy(&index, base + 2 * i, 2);
            table[i] = palette.shownColour(index);
        }
        return table;
    }
    for (int i = 0; i < layout.colours; ++i) {
        RGBQUAD q;
        std::memcpy(&q, base + 4 * i, 4);
        table[i] = MakeRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return table;
}

}  // namespace gdi

using namespace gdi;

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits) *bits = nullptr;
    if (section || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return nullptr;
    const auto layout = ReadDibLayout(info);
    if (!layout) return nullptr;
    auto dc = hdc ? LookupDC(hdc) : nullptr;
    if ((hdc && !dc) || (usage == DIB_PAL_COLORS && !dc)) return nullptr;
    auto surface = Surface::Create(layout->width, layout->height, layout->bitsPerPixel, layout->bottomUp, false);
    if (!surface) return nullptr;
    if (layout->bitsPerPixel == 8) {
        if (dc) {
            std::lock_guard lock(dc->mutex);
            surface->table = DibColours(info, *layout, usage, dc.get());
        } else {
            surface->table = DibColours(info, *layout, usage, nullptr);
        }
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->dibSection = true;
    bitmap->dibHeader = info->bmiHeader;
    bitmap->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->surface = surface;
    auto* handle = static_cast<HBITMAP>(RegisterObject(std::move(bitmap), ObjectKind::Bitmap));
    if (bits) *bits = surface->bits;
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    if ((hdc && !LookupDC(hdc)) || width < 0 || height < 0) return nullptr;
    auto surface = Surface::Create(std::max(width, 1), std::max(height, 1), 8, false, true);
    if (!surface) return nullptr;
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->surface = std::move(surface);
    return static_cast<HBITMAP>(RegisterObject(std::move(bitmap), ObjectKind::Bitmap));
}

namespace {

// The 8-bit DIB section selected in a memory DC, or nullptr.
std::shared_ptr<Surface> SelectedDibTable(HDC hdc) {
    auto dc = LookupDC(hdc);
    if (!dc) return nullptr;
    std::lock_guard lock(dc->mutex);
    if (!dc->bitmap || !dc->bitmap->dibSection || dc->bitmap->surface->bitsPerPixel != 8) return nullptr;
    return dc->bitmap->surface;
}

}  // namespace

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colours) {
    auto s = SelectedDibTable(hdc);
    if (!s || !colours || start >= 256) return 0;
    const UINT n = std::min<UINT>(count, 256 - start);
    std::lock_guard lock(s->mutex);
    for (UINT i = 0; i < n; ++i) {
        const Rgb c = s->table[start + i];
        colours[i] = {static_cast<BYTE>(BlueOf(c)), static_cast<BYTE>(GreenOf(c)), static_cast<BYTE>(RedOf(c)), 0};
    }
    return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colours) {
    auto s = SelectedDibTable(hdc);
    if (!s || !colours || start >= 256) return 0;
    const UINT n = std::min<UINT>(count, 256 - start);
    std::lock_guard lock(s->mutex);
    for (UINT i = 0; i < n; ++i) s->table[start + i] = MakeRgb(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue);
    return n;
}
