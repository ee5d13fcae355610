// Region objects and the clip region of DCs.
#include <algorithm>

#include "platform/gdi/paint.h"

using namespace gdi;

namespace {

RECT Normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

HRGN NewRegion(Region region) {
    auto object = std::make_shared<RegionObject>();
    object->region = std::move(region);
    return static_cast<HRGN>(RegisterObject(std::move(object), ObjectKind::Region));
}

Region CopyOf(const RegionObject& r) {
    std::lock_guard lock(r.mutex);
    return r.region;
}

// The area a DC draws on when it has no clip.
Region WholeSurface(const DeviceContext& dc) {
    auto s = dc.surface();
    return Region::FromRect(s ? s->bounds() : RECT{0, 0, 0, 0});
}

int CombineClip(HDC hdc, int left, int top, int right, int bottom, int mode) {
    auto dc = LookupDC(hdc);
    if (!dc) return ERROR;
    std::lock_guard lock(dc->mutex);
    const Region base = dc->clip ? *dc->clip : WholeSurface(*dc);
    dc->clip = Region::Combine(base, Region::FromRect(Normalised(left, top, right, bottom)), mode);
    return dc->clip->kind();
}

}  // namespace

namespace gdi {

int SelectClipLocked(DeviceContext& dc, const Region* region) {
    if (!region) {
        dc.clip.reset();
        return SIMPLEREGION;
    }
    dc.clip = *region;
    return dc.clip->kind();
}

}  // namespace gdi

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region::FromRect(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region::FromEllipse(Normalised(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    return NewRegion(Region::FromPolygon(points, &count, 1, fillMode));
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    auto dst = Lookup<RegionObject>(destination);
    auto a = Lookup<RegionObject>(source1);
    if (!dst || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    Region result;
    if (mode == RGN_COPY) {
        result = CopyOf(*a);
    } else {
        auto b = Lookup<RegionObject>(source2);
        if (!b) return ERROR;
        result = Region::Combine(CopyOf(*a), CopyOf(*b), mode);
    }
    std::lock_guard lock(dst->mutex);
    dst->region = std::move(result);
    return dst->region.kind();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    auto r = Lookup<RegionObject>(region);
    if (!r) return ERROR;
    std::lock_guard lock(r->mutex);
    r->region.offset(dx, dy);
    return r->region.kind();
}

BOOL PtInRegion(HRGN region, int x, int y) {
    auto r = Lookup<RegionObject>(region);
    if (!r) return FALSE;
    std::lock_guard lock(r->mutex);
    return r->region.contains(x, y) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
    auto r = Lookup<RegionObject>(region);
    if (!r || !rect) return ERROR;
    std::lock_guard lock(r->mutex);
    *rect = r->region.bounds();
    return r->region.kind();
}

int SelectClipRgn(HDC hdc, HRGN region) {
    auto dc = LookupDC(hdc);
    if (!dc) return ERROR;
    if (!region) {
        std::lock_guard lock(dc->mutex);
        return SelectClipLocked(*dc, nullptr);
    }
    auto r = Lookup<RegionObject>(region);
    if (!r) return ERROR;
    std::lock_guard lock(dc->mutex);
    std::lock_guard regionLock(r->mutex);
    return SelectClipLocked(*dc, &r->region);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return CombineClip(dc, left, top, right, bottom, RGN_DIFF);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return CombineClip(dc, left, top, right, bottom, RGN_AND);
}

int GetClipRgn(HDC hdc, HRGN region) {
    auto dc = LookupDC(hdc);
    auto r = Lookup<RegionObject>(region);
    if (!dc || !r) return -1;
    std::lock_guard lock(dc->mutex);
    if (!dc->clip) return 0;
    std::lock_guard regionLock(r->mutex);
    r->region = *dc->clip;
    return 1;
}

int GetClipBox(HDC hdc, LPRECT rect) {
    auto dc = LookupDC(hdc);
    if (!dc || !rect) return ERROR;
    std::lock_guard lock(dc->mutex);
    Region visible = WholeSurface(*dc);
    if (dc->clip) visible = Region::Combine(visible, *dc->clip, RGN_AND);
    *rect = visible.bounds();
    return visible.kind();
}
