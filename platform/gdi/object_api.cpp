// Creating, inspecting and deleting pens, brushes, fonts and the stock objects.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gdi/objects.h"

using namespace gdi;

namespace {

template <class T>
T* Register(std::shared_ptr<T> object) {
    return static_cast<T*>(RegisterObject(std::move(object), T::kKind));
}

// Copies `value` out as GetObjectA does: the size needed without a buffer,
// 0 when the buffer is too small.
template <class V>
int CopyOut(const V& value, int size, LPVOID buffer) {
    if (!buffer) return static_cast<int>(sizeof(V));
    if (size < static_cast<int>(sizeof(V))) return 0;
    std::memcpy(buffer, &value, sizeof(V));
    return static_cast<int>(sizeof(V));
}

int BitmapInfo(const BitmapObject& bitmap, int size, LPVOID buffer) {
    const Surface& s = *bitmap.surface;
    BITMAP bm{};
    bm.bmWidth = s.width;
    bm.bmHeight = s.height;
    bm.bmWidthBytes = static_cast<LONG>(s.stride);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(s.bitsPerPixel);
    if (!bitmap.dibSection) return CopyOut(bm, size, buffer);
    bm.bmBits = s.bits;
    if (buffer && size < static_cast<int>(sizeof(DIBSECTION))) return CopyOut(bm, size, buffer);
    DIBSECTION ds{};
    ds.dsBm = bm;
    ds.dsBmih = bitmap.dibHeader;
    return CopyOut(ds, size, buffer);
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
    switch (index) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH: return StockBrush(index).get();
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN: return StockPen(index).get();
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: return StockFont().get();
    case DEFAULT_PALETTE: return StockPalette().get();
    default: return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) { return UnregisterObject(object) ? TRUE : FALSE; }

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    ObjectKind kind;
    auto object = LookupObject(handle, &kind);
    if (!object || size < 0) return 0;
    switch (kind) {
    case ObjectKind::Pen: {
        const auto& pen = static_cast<const PenObject&>(*object);
        return CopyOut(LOGPEN{static_cast<UINT>(pen.style), {pen.width, 0}, pen.colour}, size, buffer);
    }
    case ObjectKind::Brush: {
        const auto& brush = static_cast<const BrushObject&>(*object);
        return CopyOut(LOGBRUSH{brush.style, brush.colour, 0}, size, buffer);
    }
    case ObjectKind::Font:
        return CopyOut(static_cast<const FontObject&>(*object).logFont, size, buffer);
    case ObjectKind::Palette: {
        const auto& palette = static_cast<const PaletteObject&>(*object);
        std::lock_guard lock(palette.mutex);
        return CopyOut(static_cast<WORD>(palette.entries.size()), size, buffer);
    }
    case ObjectKind::Bitmap:
        return BitmapInfo(static_cast<const BitmapObject&>(*object), size, buffer);
    case ObjectKind::Region:
        return 0;
    }
    return 0;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->width = width < 0 ? 0 : width;
    pen->colour = colour;
    return Register(std::move(pen));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) return nullptr;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    auto brush = std::make_shared<BrushObject>();
    brush->colour = colour;
    return Register(std::move(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (!logBrush || (logBrush->lbStyle != BS_SOLID && logBrush->lbStyle != BS_NULL)) return nullptr;
    auto brush = std::make_shared<BrushObject>();
    brush->style = logBrush->lbStyle;
    brush->colour = logBrush->lbColor;
    return Register(std::move(brush));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (!logFont) return nullptr;
    text::FontSpec request;
    const std::string family(logFont->lfFaceName, strnlen(logFont->lfFaceName, LF_FACESIZE));
    if (!family.empty()) request.family = family;
    // Heights beyond any screen are taken as the largest one that still is.
    if (logFont->lfHeight != 0) request.height = std::clamp<LONG>(logFont->lfHeight, -4096, 4096);
    if (logFont->lfWeight != 0) request.weight = logFont->lfWeight;
    request.italic = logFont->lfItalic != 0;
    auto face = text::Face::Open(request);
    if (!face) return nullptr;
    auto font = std::make_shared<FontObject>();
    font->logFont = *logFont;
    font->face = std::move(face);
    return Register(std::move(font));
}
