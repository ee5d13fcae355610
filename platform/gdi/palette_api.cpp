// Logical palettes: creation, selection, realisation into the hardware
// palette, and animation.
#include "platform/gdi/dc.h"
#include "platform/gdi/hardware_palette.h"
#include "platform/kernel/suspend.h"

using namespace gdi;

namespace {

// Foreground: every entry that does not name a hardware index takes the next
// free hardware entry and sets its colour.
void RealiseForeground(PaletteObject& p) {
    int slot = kFirstFreeEntry;
    for (std::size_t i = 0; i < p.entries.size(); ++i) {
        const PALETTEENTRY& e = p.entries[i];
        if (e.peFlags & PC_EXPLICIT) {
            p.mapping[i] = ExplicitIndex(e);
        } else if (slot <= kLastFreeEntry) {
            ClaimHardwareSlot(slot, MakeRgb(e.peRed, e.peGreen, e.peBlue), &p);
            p.mapping[i] = static_cast<std::uint8_t>(slot++);
        } else {
            const HardwareColours hw = HardwareSnapshot();
            p.mapping[i] = static_cast<std::uint8_t>(NearestIndex(hw.data(), 256, MakeRgb(e.peRed, e.peGreen, e.peBlue)));
        }
    }
    p.foreground = true;
}

// Background: every entry maps to the nearest colour the hardware shows now.
void RealiseBackground(PaletteObject& p) {
    const HardwareColours hw = HardwareSnapshot();
    for (std::size_t i = 0; i < p.entries.size(); ++i) {
        const PALETTEENTRY& e = p.entries[i];
        p.mapping[i] = (e.peFlags & PC_EXPLICIT)
                           ? ExplicitIndex(e)
                           : static_cast<std::uint8_t>(NearestIndex(hw.data(), 256, MakeRgb(e.peRed, e.peGreen, e.peBlue)));
    }
}

}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* logPalette) {
    if (!logPalette || logPalette->palVersion != 0x300 || logPalette->palNumEntries == 0) return nullptr;
    auto palette = std::make_shared<PaletteObject>();
    palette->entries.assign(logPalette->palPalEntry, logPalette->palPalEntry + logPalette->palNumEntries);
    palette->resetMapping();
    return static_cast<HPALETTE>(RegisterObject(std::move(palette), ObjectKind::Palette));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE handle, BOOL forceBackground) {
    auto dc = LookupDC(hdc);
    auto palette = Lookup<PaletteObject>(handle);
    if (!dc || !palette) return nullptr;
    std::lock_guard lock(dc->mutex);
    HPALETTE previous = dc->palette.get();
    if (palette != dc->palette) {
        NoteSelected(palette.get(), false);
        NoteDeselected(dc->palette.get());
        dc->palette = std::move(palette);
    }
    dc->paletteBackground = forceBackground != FALSE;
    return previous;
}

UINT RealizePalette(HDC hdc) {
    auto dc = LookupDC(hdc);
    if (!dc) return GDI_ERROR;
    std::shared_ptr<WindowTarget> shownIn;
    UINT mapped;
    {
        std::lock_guard lock(dc->mutex);
        PaletteObject& p = *dc->palette;
        std::lock_guard paletteLock(p.mutex);
        mapped = static_cast<UINT>(p.entries.size());
        if (p.isDefault) {
            p.resetMapping();
        } else if (dc->window && !dc->paletteBackground) {
            RealiseForeground(p);
            p.shownIn = dc->window;
            shownIn = dc->window;
        } else if (!p.foreground) {
            // A memory DC (or a background palette) leaves the hardware alone.
            RealiseBackground(p);
        }
    }
    if (shownIn) PublishPalette(shownIn);
    return mapped;
}

BOOL AnimatePalette(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
    platform::SuspensionPoint();
    auto palette = Lookup<PaletteObject>(handle);
    if (!palette || !entries) return FALSE;
    bool changed = false;
    std::shared_ptr<WindowTarget> shownIn;
    {
        std::lock_guard lock(palette->mutex);
        const std::size_t size = palette->entries.size();
        if (start >= size) return FALSE;
        const std::size_t end = start + std::min<std::size_t>(count, size - start);
        for (std::size_t i = start; i < end; ++i) {
            PALETTEENTRY& e = palette->entries[i];
            if (!(e.peFlags & PC_RESERVED)) continue;
            const PALETTEENTRY& n = entries[i - start];
            e.peRed = n.peRed;
            e.peGreen = n.peGreen;
            e.peBlue = n.peBlue;
            if (palette->foreground)
                changed |= AnimateHardwareSlot(palette->mapping[i], MakeRgb(n.peRed, n.peGreen, n.peBlue), palette.get());
        }
        if (changed) shownIn = palette->shownIn.lock();
    }
    if (shownIn) PublishPalette(shownIn);
    return TRUE;
}

BOOL UnrealizeObject(HGDIOBJ handle) {
    ObjectKind kind;
    auto object = LookupObject(handle, &kind);
    if (!object) return FALSE;
    if (kind == ObjectKind::Palette) {
        auto& palette = static_cast<PaletteObject&>(*object);
        std::lock_guard lock(palette.mutex);
        palette.resetMapping();
        return TRUE;
    }
    return kind == ObjectKind::Brush ? TRUE : FALSE;
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, LPPALETTEENTRY entries) {
    auto palette = Lookup<PaletteObject>(handle);
    if (!palette) return 0;
    std::lock_guard lock(palette->mutex);
    const std::size_t size = palette->entries.size();
    if (!entries) return static_cast<UINT>(size);
    if (start >= size) return 0;
    const std::size_t n = std::min<std::size_t>(count, size - start);
    std::copy_n(palette->entries.begin() + start, n, entries);
    return static_cast<UINT>(n);
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
    auto palette = Lookup<PaletteObject>(handle);
    if (!palette || !entries || IsStockObject(palette.get())) return 0;
    std::lock_guard lock(palette->mutex);
    const std::size_t size = palette->entries.size();
    if (start >= size) return 0;
    const std::size_t n = std::min<std::size_t>(count, size - start);
    std::copy_n(entries, n, palette->entries.begin() + start);
    if (!palette->foreground) palette->resetMapping();
    return static_cast<UINT>(n);
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF colour) {
    auto palette = Lookup<PaletteObject>(handle);
    if (!palette) return CLR_INVALID;
    std::lock_guard lock(palette->mutex);
    if (palette->entries.empty()) return CLR_INVALID;
    return palette->nearestEntry(RgbFromColorref(colour & 0xFFFFFF));
}
