#pragma once
// Device contexts: the drawing state of a window, screen or memory DC, and
// the registry that turns handles into live DCs.
#include <memory>
#include <mutex>
#include <optional>

#include "platform/gdi/objects.h"
#include "platform/gdi/window_target.h"

struct DeviceContext {
    std::mutex mutex;  // held by every call on the DC

    std::shared_ptr<gdi::WindowTarget> window;  // window and screen DCs
    std::shared_ptr<gdi::BitmapObject> bitmap;  // memory DCs
    bool privateDC = false;                     // a CS_OWNDC window's DC: ReleaseDC keeps it

    std::shared_ptr<gdi::PenObject> pen;
    std::shared_ptr<gdi::BrushObject> brush;
    std::shared_ptr<gdi::FontObject> font;
    std::shared_ptr<gdi::PaletteObject> palette;
    bool paletteBackground = false;

    std::optional<gdi::Region> clip;
    POINT position{0, 0};
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int bkMode = OPAQUE;
    int fillMode = ALTERNATE;
    COLORREF bkColour = RGB(255, 255, 255);
    COLORREF textColour = 0;

    // The surface drawn on now: the window's client area or the selected bitmap's.
    std::shared_ptr<gdi::Surface> surface() const {
        return window ? window->surface() : bitmap ? bitmap->surface : nullptr;
    }
};

namespace gdi {

// A new DC with the stock objects selected, registered.
HDC NewDC(std::shared_ptr<WindowTarget> window, bool privateDC);
// The live DC behind a handle, or nullptr.
std::shared_ptr<DeviceContext> LookupDC(HDC dc);
// How many device contexts are live.
std::size_t LiveDcCount();
// Unregisters the DC and deselects its objects; false for unknown handles.
bool DestroyDC(HDC dc);

// The pixel value `colour` draws with on surface `s` through the DC's palette:
// a hardware index on device surfaces; on DIB sections the colour itself
// (PALETTEINDEX: the logical entry's colour), as the nearest table index on
// 8-bit ones and 0x00RRGGBB on 24/32-bit ones.  Call with the DC locked.
std::uint32_t ResolveColour(const DeviceContext& dc, const Surface& s, COLORREF colour);

// Makes a copy of `region` the DC's clip (nullptr removes it); returns the
// clip's kind.  Call with the DC locked.
int SelectClipLocked(DeviceContext& dc, const Region* region);

// The clip and surface bounds as the `limit` of the geometry engines.
RECT DrawLimit(const DeviceContext& dc, const Surface& s);

}  // namespace gdi
