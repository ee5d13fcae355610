#pragma once
// The GDI objects behind the handles, and the registry of live objects that
// lets every call reject a stale or foreign handle instead of crashing.
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/region.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/text/font.h"

namespace gdi {

struct WindowTarget;

enum class ObjectKind { Pen, Brush, Font, Bitmap, Palette, Region };

struct PenObject final : GdiPen {
    static constexpr ObjectKind kKind = ObjectKind::Pen;
    int style = PS_SOLID;
    int width = 0;  // 0 or 1: cosmetic
    COLORREF colour = 0;
};

struct BrushObject final : GdiBrush {
    static constexpr ObjectKind kKind = ObjectKind::Brush;
    UINT style = BS_SOLID;
    COLORREF colour = 0;
};

struct FontObject final : GdiFont {
    static constexpr ObjectKind kKind = ObjectKind::Font;
    LOGFONTA logFont{};
    std::shared_ptr<const text::Face> face;
};

struct BitmapObject final : GdiBitmap {
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;
    std::shared_ptr<Surface> surface;
    bool dibSection = false;
    BITMAPINFOHEADER dibHeader{};  // as created, for GetObjectA
};

struct PaletteObject final : GdiPalette {
    static constexpr ObjectKind kKind = ObjectKind::Palette;
    ~PaletteObject() override;

    mutable std::mutex mutex;                // entries, mapping, realisation
    std::vector<PALETTEENTRY> entries;
    std::vector<std::uint8_t> mapping;       // logical entry -> hardware index
    bool isDefault = false;                  // the stock DEFAULT_PALETTE
    bool foreground = false;                 // last realised in the foreground
    std::weak_ptr<WindowTarget> shownIn;     // window whose colours it set

    // The hardware index PALETTEINDEX(i) draws with (entry 0 beyond the end).
    std::uint8_t hardwareIndex(unsigned i) const;
    // The colour entry i shows now (explicit entries: their hardware colour;
    // entry 0 beyond the end, as for hardwareIndex).
    Rgb shownColour(unsigned i) const;
    // The entry whose shown colour is nearest to `colour` (0 when empty).
    unsigned nearestEntry(Rgb colour) const;
    // Mapping before any realisation: explicit entries name their hardware
    // index, the others behave as in the default palette.
    void resetMapping();
};

struct RegionObject final : GdiRegion {
    static constexpr ObjectKind kKind = ObjectKind::Region;
    mutable std::mutex mutex;
    Region region;
};

// The hardware index a PC_EXPLICIT entry names.
std::uint8_t ExplicitIndex(const PALETTEENTRY& e);

// Registers a new object; returns its handle.
GdiObject* RegisterObject(std::shared_ptr<GdiObject> object, ObjectKind kind);
// The live object behind a handle, or nullptr for stale, foreign or
// differently typed handles.
std::shared_ptr<GdiObject> LookupObject(HGDIOBJ handle, ObjectKind* kind);
template <class T>
std::shared_ptr<T> Lookup(HGDIOBJ handle) {
    ObjectKind kind;
    auto object = LookupObject(handle, &kind);
    if (!object || kind != T::kKind) return nullptr;
    return std::static_pointer_cast<T>(object);
}
// Erases a deletable object; false for stock, selected or unknown objects.
bool UnregisterObject(HGDIOBJ handle);
// How many objects other than stock ones are registered.
std::size_t LiveObjectCount();
// Counts selections into DCs (DeleteObject refuses selected objects).
// `exclusive` refuses a second selection (bitmaps); stock objects are free.
bool NoteSelected(GdiObject* object, bool exclusive);
void NoteDeselected(GdiObject* object);
bool IsStockObject(const GdiObject* object);

std::shared_ptr<PenObject> StockPen(int index);
std::shared_ptr<BrushObject> StockBrush(int index);
std::shared_ptr<FontObject> StockFont();
std::shared_ptr<PaletteObject> StockPalette();
std::shared_ptr<BitmapObject> StockBitmap();  // the 1 x 1 bitmap of new memory DCs

}  // namespace gdi
