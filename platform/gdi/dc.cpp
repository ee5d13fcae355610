#include "platform/gdi/dc.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/gdi/hardware_palette.h"
#include "platform/kernel/kernel.h"

namespace gdi {
namespace {

struct DcRegistry {
    std::mutex mutex;
    std::unordered_map<const DeviceContext*, std::shared_ptr<DeviceContext>> live;
};

DcRegistry& Dcs() {
    static auto* registry = new DcRegistry;  // never destroyed: DCs may outlive static destruction
    return *registry;
}

}  // namespace

HDC NewDC(std::shared_ptr<WindowTarget> window, bool privateDC) {
    auto dc = std::make_shared<DeviceContext>();
    dc->window = std::move(window);
    if (!dc->window) dc->bitmap = StockBitmap();
    dc->privateDC = privateDC;
    dc->pen = StockPen(BLACK_PEN);
    dc->brush = StockBrush(WHITE_BRUSH);
    dc->font = StockFont();
    dc->palette = StockPalette();
    DcRegistry& r = Dcs();
    std::lock_guard lock(r.mutex);
    HDC handle = dc.get();
    r.live[handle] = std::move(dc);
    return handle;
}

std::size_t LiveDcCount() {
    DcRegistry& r = Dcs();
    std::lock_guard lock(r.mutex);
    return r.live.size();
}

std::shared_ptr<DeviceContext> LookupDC(HDC dc) {
    if (!dc) return nullptr;
    DcRegistry& r = Dcs();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(dc);
    return it == r.live.end() ? nullptr : it->second;
}

bool DestroyDC(HDC handle) {
    std::shared_ptr<DeviceContext> dc;
    {
        DcRegistry& r = Dcs();
        std::lock_guard lock(r.mutex);
        auto it = r.live.find(handle);
        if (it == r.live.end()) return false;
        dc = std::move(it->second);
        r.live.erase(it);
    }
    std::lock_guard lock(dc->mutex);
    NoteDeselected(dc->pen.get());
    NoteDeselected(dc->brush.get());
    NoteDeselected(dc->font.get());
    NoteDeselected(dc->palette.get());
    if (dc->bitmap) NoteDeselected(dc->bitmap.get());
    return true;
}

std::uint32_t ResolveColour(const DeviceContext& dc, const Surface& s, COLORREF colour) {
    const unsigned kind = colour >> 24;
    const Rgb plain = RgbFromColorref(colour & 0xFFFFFF);
    const PaletteObject& palette = *dc.palette;
    if (s.device) {
        if (kind == 1) {
            std::lock_guard lock(palette.mutex);
            return palette.hardwareIndex(colour & 0xFFFF);
        }
        if (kind == 2) {
            std::lock_guard lock(palette.mutex);
            return palette.hardwareIndex(palette.nearestEntry(plain));
        }
        return NearestStaticIndex(plain);
    }
    // A DIB section is no palette device: its pixels index its own colour
    // table, whatever the hardware shows.  PALETTEINDEX names the logical
    // entry's colour, PALETTERGB is taken as the plain colour.
    Rgb rgb = plain;
    if (kind == 1) {
        std::lock_guard lock(palette.mutex);
        rgb = palette.shownColour(colour & 0xFFFF);
    }
    if (s.bitsPerPixel == 8) return static_cast<std::uint32_t>(NearestIndex(s.table.data(), 256, rgb));
    return rgb;
}

RECT DrawLimit(const DeviceContext& dc, const Surface& s) {
    RECT limit = s.bounds();
    if (dc.clip) {
        const RECT b = dc.clip->bounds();
        limit = {std::max(limit.left, b.left), std::max(limit.top, b.top),
                 std::min(limit.right, b.right), std::min(limit.bottom, b.bottom)};
        if (limit.left >= limit.right || limit.top >= limit.bottom) limit = {0, 0, 0, 0};
    }
    return limit;
}

}  // namespace gdi

using namespace gdi;

namespace {

template <class T>
HGDIOBJ Swap(std::shared_ptr<T>& slot, std::shared_ptr<T> next) {
    HGDIOBJ previous = slot.get();
    if (slot == next) return previous;
    NoteSelected(next.get(), false);
    NoteDeselected(slot.get());
    slot = std::move(next);
    return previous;
}

}  // namespace

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !LookupDC(dc)) return nullptr;
    return NewDC(nullptr, false);
}

BOOL DeleteDC(HDC dc) {
    auto live = LookupDC(dc);
    if (!live || live->privateDC) return FALSE;
    return DestroyDC(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
    auto dc = LookupDC(hdc);
    ObjectKind kind;
    auto object = LookupObject(handle, &kind);
    if (!dc || !object) return nullptr;
    std::lock_guard lock(dc->mutex);
    switch (kind) {
    case ObjectKind::Pen:
        return Swap(dc->pen, std::static_pointer_cast<PenObject>(object));
    case ObjectKind::Brush:
        return Swap(dc->brush, std::static_pointer_cast<BrushObject>(object));
    case ObjectKind::Font:
        return Swap(dc->font, std::static_pointer_cast<FontObject>(object));
    case ObjectKind::Bitmap: {
        if (dc->window) return nullptr;  // only memory DCs take bitmaps
        auto bitmap = std::static_pointer_cast<BitmapObject>(object);
        HGDIOBJ previous = dc->bitmap.get();
        if (bitmap == dc->bitmap) return previous;
        if (!NoteSelected(bitmap.get(), true)) return nullptr;  // selected elsewhere
        NoteDeselected(dc->bitmap.get());
        dc->bitmap = std::move(bitmap);
        return previous;
    }
    case ObjectKind::Region: {
        auto region = std::static_pointer_cast<RegionObject>(object);
        std::lock_guard regionLock(region->mutex);
        const int result = SelectClipLocked(*dc, &region->region);
        return result == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(result));
    }
    case ObjectKind::Palette:
        return nullptr;  // palettes go through SelectPalette
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    auto dc = LookupDC(hdc);
    if (!dc) return nullptr;
    std::lock_guard lock(dc->mutex);
    switch (type) {
    case OBJ_PEN: return dc->pen.get();
    case OBJ_BRUSH: return dc->brush.get();
    case OBJ_FONT: return dc->font.get();
    case OBJ_PAL: return dc->palette.get();
    case OBJ_BITMAP: return dc->bitmap ? dc->bitmap.get() : nullptr;
    default: return nullptr;
    }
}

namespace {

// Sets one attribute of a live DC under its lock; returns the previous value
// or `failure`.
template <class V, class F>
V Exchange(HDC hdc, V failure, F&& change) {
    auto dc = LookupDC(hdc);
    if (!dc) return failure;
    std::lock_guard lock(dc->mutex);
    return change(*dc);
}

}  // namespace

int SetROP2(HDC hdc, int rop2) {
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    return Exchange(hdc, 0, [&](DeviceContext& dc) { return std::exchange(dc.rop2, rop2); });
}
int GetROP2(HDC hdc) { return Exchange(hdc, 0, [](DeviceContext& dc) { return dc.rop2; }); }

int SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return Exchange(hdc, 0, [&](DeviceContext& dc) { return std::exchange(dc.stretchMode, mode); });
}
int GetStretchBltMode(HDC hdc) { return Exchange(hdc, 0, [](DeviceContext& dc) { return dc.stretchMode; }); }

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return Exchange(hdc, 0, [&](DeviceContext& dc) { return std::exchange(dc.bkMode, mode); });
}
int GetBkMode(HDC hdc) { return Exchange(hdc, 0, [](DeviceContext& dc) { return dc.bkMode; }); }

COLORREF SetBkColor(HDC hdc, COLORREF colour) {
    return Exchange(hdc, CLR_INVALID, [&](DeviceContext& dc) { return std::exchange(dc.bkColour, colour); });
}
COLORREF GetBkColor(HDC hdc) {
    return Exchange(hdc, CLR_INVALID, [](DeviceContext& dc) { return dc.bkColour; });
}

COLORREF SetTextColor(HDC hdc, COLORREF colour) {
    return Exchange(hdc, CLR_INVALID, [&](DeviceContext& dc) { return std::exchange(dc.textColour, colour); });
}
COLORREF GetTextColor(HDC hdc) {
    return Exchange(hdc, CLR_INVALID, [](DeviceContext& dc) { return dc.textColour; });
}

int SetPolyFillMode(HDC hdc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return Exchange(hdc, 0, [&](DeviceContext& dc) { return std::exchange(dc.fillMode, mode); });
}
int GetPolyFillMode(HDC hdc) { return Exchange(hdc, 0, [](DeviceContext& dc) { return dc.fillMode; }); }

int GetDeviceCaps(HDC hdc, int index) {
    if (!LookupDC(hdc)) return 0;
    const SIZE screen = ScreenSize();
    switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return screen.cx * 254 / 960;
    case VERTSIZE: return screen.cy * 254 / 960;
    case HORZRES: return screen.cx;
    case VERTRES: return screen.cy;
    case BITSPIXEL: return 8;
    case PLANES: return 1;
    case NUMCOLORS: return 20;
    case RASTERCAPS:
        return RC_BITBLT | RC_DI_BITMAP | RC_PALETTE | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 256;
    case NUMRESERVED: return 20;
    case COLORRES: return 18;
    case VREFRESH: return 60;
    default: return 0;
    }
}

DWORD GetGuiResources(HANDLE process, DWORD flags) {
    if (process != GetCurrentProcess() || flags != GR_GDIOBJECTS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return static_cast<DWORD>(gdi::LiveDcCount() + gdi::LiveObjectCount());
}
