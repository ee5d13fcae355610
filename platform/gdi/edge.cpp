// DrawEdge: the three-dimensional frames of the overlay boxes, drawn in the
// static colours (which palette animation never changes).
#include "platform/gdi/hardware_palette.h"
#include "platform/gdi/paint.h"
#include "platform/gdi/raster/raster.h"

using namespace gdi;

namespace {

constexpr std::uint8_t kWhite = 255, kLightGrey = 7, kDarkGrey = 248, kBlack = 0;

struct BorderColours {
    std::uint8_t topLeft, bottomRight;
};

// The colours of one border line for the outer or inner pair of BDR_ flags.
bool BorderFor(UINT edge, bool outer, BorderColours& c) {
    const UINT raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
    const UINT sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
    if (edge & raised)
        c = outer ? BorderColours{kLightGrey, kBlack} : BorderColours{kWhite, kDarkGrey};
    else if (edge & sunken)
        c = outer ? BorderColours{kDarkGrey, kWhite} : BorderColours{kBlack, kLightGrey};
    else
        return false;
    return true;
}

// A value in the surface's format that shows hardware entry `index`.
std::uint32_t StaticValue(const Surface& s, std::uint8_t index) {
    if (s.device) return index;
    const Rgb c = StaticColours()[index < 10 ? index : index - 236];
    return s.bitsPerPixel == 8 ? static_cast<std::uint32_t>(NearestIndex(s.table.data(), 256, c)) : c;
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
    if (!rect) return FALSE;
    return WithDC(hdc, [&](DeviceContext& dc, Surface& s) {
        RECT r = *rect;
        auto fill = [&](const RECT& box, std::uint8_t index) {
            if (EmptyRect(box)) return;
            const SolidInk ink = MakeInk(s, StaticValue(s, index), R2_COPYPEN);
            PaintShape(dc, s, ink, [&](const RECT& limit, SpanSink& out) { raster::FillRect(box, limit, out); });
        };
        for (bool outer : {true, false}) {
            BorderColours c;
            if (!BorderFor(edge, outer, c) || EmptyRect(r)) continue;
            // Bottom and right lines own the corners they share with top and left.
            if (flags & BF_TOP) fill({r.left, r.top, r.right - 1, r.top + 1}, c.topLeft);
            if (flags & BF_LEFT) fill({r.left, r.top, r.left + 1, r.bottom - 1}, c.topLeft);
            if (flags & BF_BOTTOM) fill({r.left, r.bottom - 1, r.right, r.bottom}, c.bottomRight);
            if (flags & BF_RIGHT) fill({r.right - 1, r.top, r.right, r.bottom}, c.bottomRight);
            if (flags & BF_LEFT) ++r.left;
            if (flags & BF_TOP) ++r.top;
            if (flags & BF_RIGHT) --r.right;
            if (flags & BF_BOTTOM) --r.bottom;
        }
        if (flags & BF_MIDDLE) fill(r, kLightGrey);
        if (flags & BF_ADJUST) *rect = r;
        return true;
    });
}
