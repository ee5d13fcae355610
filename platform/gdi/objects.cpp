#include "platform/gdi/objects.h"

#include <unordered_map>

#include "platform/gdi/hardware_palette.h"

namespace gdi {
namespace {

struct Entry {
    std::shared_ptr<GdiObject> object;
    ObjectKind kind;
    bool stock = false;
    int selections = 0;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<const GdiObject*, Entry> live;
};

// Process-wide registries are never destroyed, so objects released during
// exit never meet a registry that is already gone.
Registry& Objects() {
    static auto* registry = new Registry;
    return *registry;
}

template <class T>
std::shared_ptr<T> RegisterStock(std::shared_ptr<T> object) {
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    r.live[object.get()] = Entry{object, T::kKind, true, 0};
    return object;
}

std::shared_ptr<PenObject> MakePen(int style, COLORREF colour) {
    auto pen = std::make_shared<PenObject>();
    pen->style = style;
    pen->colour = colour;
    return RegisterStock(pen);
}

std::shared_ptr<BrushObject> MakeBrush(UINT style, COLORREF colour) {
    auto brush = std::make_shared<BrushObject>();
    brush->style = style;
    brush->colour = colour;
    return RegisterStock(brush);
}

struct Stock {
    std::shared_ptr<PenObject> whitePen = MakePen(PS_SOLID, RGB(255, 255, 255));
    std::shared_ptr<PenObject> blackPen = MakePen(PS_SOLID, 0);
    std::shared_ptr<PenObject> nullPen = MakePen(PS_NULL, 0);
    std::shared_ptr<BrushObject> brushes[6] = {
        MakeBrush(BS_SOLID, RGB(255, 255, 255)), MakeBrush(BS_SOLID, RGB(192, 192, 192)),
        MakeBrush(BS_SOLID, RGB(128, 128, 128)), MakeBrush(BS_SOLID, RGB(64, 64, 64)),
        MakeBrush(BS_SOLID, 0),                  MakeBrush(BS_NULL, 0)};
    std::shared_ptr<FontObject> font = MakeFont();
    std::shared_ptr<PaletteObject> palette = MakePalette();
    std::shared_ptr<BitmapObject> bitmap = MakeBitmap();

    static std::shared_ptr<FontObject> MakeFont() {
        auto font = std::make_shared<FontObject>();
        font->face = text::Face::StockVariable();
        font->logFont.lfHeight = font->face ? font->face->metrics().height : 13;
        font->logFont.lfWeight = FW_NORMAL;
        const char name[] = "sans-serif";
        for (std::size_t i = 0; i < sizeof name; ++i) font->logFont.lfFaceName[i] = name[i];
        return RegisterStock(font);
    }
    static std::shared_ptr<PaletteObject> MakePalette() {
        auto palette = std::make_shared<PaletteObject>();
        palette->isDefault = true;
        const Rgb* colours = StaticColours();
        for (int k = 0; k < 20; ++k)
            palette->entries.push_back({static_cast<BYTE>(RedOf(colours[k])),
                                        static_cast<BYTE>(GreenOf(colours[k])),
                                        static_cast<BYTE>(BlueOf(colours[k])), 0});
        palette->resetMapping();
        return RegisterStock(palette);
    }
    static std::shared_ptr<BitmapObject> MakeBitmap() {
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->surface = Surface::Create(1, 1, 8, false, true);
        return RegisterStock(bitmap);
    }
};

Stock& Stocks() {
    static auto* stock = new Stock;
    return *stock;
}

}  // namespace

PaletteObject::~PaletteObject() { ReleaseHardwareSlots(this); }

std::uint8_t ExplicitIndex(const PALETTEENTRY& e) {
    const unsigned index = e.peRed | (unsigned{e.peGreen} << 8);
    return static_cast<std::uint8_t>(index > 255 ? 0 : index);
}

std::uint8_t PaletteObject::hardwareIndex(unsigned i) const {
    if (mapping.empty()) return 0;
    return mapping[i < mapping.size() ? i : 0];
}

Rgb PaletteObject::shownColour(unsigned i) const {
    if (entries.empty()) return 0;
    const PALETTEENTRY& e = entries[i < entries.size() ? i : 0];
    if (e.peFlags & PC_EXPLICIT) return HardwareColour(ExplicitIndex(e));
    return MakeRgb(e.peRed, e.peGreen, e.peBlue);
}

unsigned PaletteObject::nearestEntry(Rgb colour) const {
    std::vector<Rgb> shown(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) shown[i] = shownColour(static_cast<unsigned>(i));
    return static_cast<unsigned>(NearestIndex(shown.data(), static_cast<int>(shown.size()), colour));
}

void PaletteObject::resetMapping() {
    mapping.assign(entries.size(), 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].peFlags & PC_EXPLICIT)
            mapping[i] = ExplicitIndex(entries[i]);
        else if (i < 20)
            mapping[i] = static_cast<std::uint8_t>(StaticIndex(static_cast<int>(i)));
    }
    foreground = false;
}

GdiObject* RegisterObject(std::shared_ptr<GdiObject> object, ObjectKind kind) {
    if (!object) return nullptr;
    Stocks();  // stock objects exist before any other, so their lookups never race creation
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    GdiObject* handle = object.get();
    r.live[handle] = Entry{std::move(object), kind, false, 0};
    return handle;
}

std::shared_ptr<GdiObject> LookupObject(HGDIOBJ handle, ObjectKind* kind) {
    if (!handle) return nullptr;
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(handle);
    if (it == r.live.end()) return nullptr;
    *kind = it->second.kind;
    return it->second.object;
}

bool NoteSelected(GdiObject* object, bool exclusive) {
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(object);
    if (it == r.live.end()) return false;
    if (it->second.stock) return true;
    if (exclusive && it->second.selections > 0) return false;
    ++it->second.selections;
    return true;
}

void NoteDeselected(GdiObject* object) {
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(object);
    if (it != r.live.end() && it->second.selections > 0) --it->second.selections;
}

bool IsStockObject(const GdiObject* object) {
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(object);
    return it != r.live.end() && it->second.stock;
}

// Erases a deletable object from the registry; false for stock, selected or
// unknown objects.
bool UnregisterObject(HGDIOBJ handle) {
    std::shared_ptr<GdiObject> doomed;  // destroyed after the lock is released
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    auto it = r.live.find(handle);
    if (it == r.live.end() || it->second.stock || it->second.selections > 0) return false;
    doomed = std::move(it->second.object);
    r.live.erase(it);
    return true;
}

std::size_t LiveObjectCount() {
    Registry& r = Objects();
    std::lock_guard lock(r.mutex);
    std::size_t count = 0;
    for (const auto& entry : r.live) count += !entry.second.stock;
    return count;
}

std::shared_ptr<PenObject> StockPen(int index) {
    Stock& s = Stocks();
    return index == WHITE_PEN ? s.whitePen : index == NULL_PEN ? s.nullPen : s.blackPen;
}

std::shared_ptr<BrushObject> StockBrush(int index) {
    return Stocks().brushes[index >= WHITE_BRUSH && index <= NULL_BRUSH ? index : WHITE_BRUSH];
}

std::shared_ptr<FontObject> StockFont() { return Stocks().font; }
std::shared_ptr<PaletteObject> StockPalette() { return Stocks().palette; }
std::shared_ptr<BitmapObject> StockBitmap() { return Stocks().bitmap; }

}  // namespace gdi
