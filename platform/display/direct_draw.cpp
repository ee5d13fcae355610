// The DirectDraw object: both interfaces on one object with one reference
// count.  Display modes are the virtual modes of modes.h.
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/display/display.h"
#include "platform/display/modes.h"
#include "platform/gdi/gdi.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDirectDraw = {0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID IID_IDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

bool operator==(const GUID& a, const GUID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

namespace {

constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

void describe(const platform::VirtualMode& mode, DDSURFACEDESC& desc) {
    desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc.dwWidth = static_cast<DWORD>(mode.width);
    desc.dwHeight = static_cast<DWORD>(mode.height);
    desc.lPitch = mode.width * ((mode.bitsPerPixel + 7) / 8);
    desc.dwRefreshRate = platform::display::kRefreshRate;
    DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    format.dwSize = sizeof format;
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = static_cast<DWORD>(mode.bitsPerPixel);
    switch (mode.bitsPerPixel) {
    case 8:
        format.dwFlags |= DDPF_PALETTEINDEXED8;
        break;
    case 16:
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
        break;
    default:
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
        break;
    }
}

bool matches(const DDSURFACEDESC& mode, const DDSURFACEDESC* match) {
    if (!match) return true;
    if ((match->dwFlags & DDSD_WIDTH) && match->dwWidth != mode.dwWidth) return false;
    if ((match->dwFlags & DDSD_HEIGHT) && match->dwHeight != mode.dwHeight) return false;
    if ((match->dwFlags & DDSD_PIXELFORMAT) &&
        match->ddpfPixelFormat.dwRGBBitCount != mode.ddpfPixelFormat.dwRGBBitCount)
        return false;
    if ((match->dwFlags & DDSD_REFRESHRATE) && match->dwRefreshRate != 0 &&
        match->dwRefreshRate != mode.dwRefreshRate)
        return false;
    return true;
}

class DirectDraw final : public IDirectDraw, public IDirectDraw2 {
public:
    HRESULT QueryInterface(REFIID riid, LPVOID* object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDirectDraw) {
            *object = static_cast<IDirectDraw*>(this);
        } else if (riid == IID_IDirectDraw2) {
            *object = static_cast<IDirectDraw2*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return ++references_; }

    // The last reference leaves the mode it set, as the real object does when
    // its owner forgets to restore it.
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) {
            if (modeSet_) platform::display::RestoreVirtualMode();
            delete this;
        }
        return left;
    }

    HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) override {
        bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
        bool normal = (flags & DDSCL_NORMAL) != 0;
        // Exactly one of normal and exclusive; exclusive goes with full
        // screen and needs a live window.  Normal takes any window or none
        // (a settings dialog need not be a Canvas window).
        if (exclusive == normal) return DDERR_INVALIDPARAMS;
        if (exclusive && (!(flags & DDSCL_FULLSCREEN) || !IsWindow(hwnd))) return DDERR_INVALIDPARAMS;
        return DD_OK;
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override {
        return SetDisplayMode(width, height, bitsPerPixel, 0, 0);
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override {
        if (flags != 0) return DDERR_INVALIDPARAMS;
        if (refreshRate != 0 && refreshRate != static_cast<DWORD>(platform::display::kRefreshRate))
            return DDERR_INVALIDMODE;
        if (width > 0x7FFF || height > 0x7FFF || bitsPerPixel > 32) return DDERR_INVALIDMODE;
        platform::VirtualMode mode{static_cast<int>(width), static_cast<int>(height), static_cast<int>(bitsPerPixel)};
        if (!platform::display::SetVirtualMode(mode)) return DDERR_INVALIDMODE;
        modeSet_ = true;
        return DD_OK;
    }

    HRESULT RestoreDisplayMode() override {
        platform::display::RestoreVirtualMode();
        modeSet_ = false;
        return DD_OK;
    }

    HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC match, LPVOID context,
                             LPDDENUMMODESCALLBACK callback) override {
        if (!callback) return DDERR_INVALIDPARAMS;
        int width = 0;
        int height = 0;
        platform::display::NativeScreenSize(width, height);
        for (const platform::VirtualMode& mode : platform::display::OfferedModes(width, height)) {
            DDSURFACEDESC desc;
            describe(mode, desc);
            if (!matches(desc, match)) continue;
            if (callback(&desc, context) == DDENUMRET_CANCEL) break;
        }
        return DD_OK;
    }

private:
    ~DirectDraw() = default;

    std::atomic<ULONG> references_{1};
    std::atomic<bool> modeSet_{false};
};

}  // namespace

HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer) {
    if (!directDraw) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (guid) return DDERR_INVALIDPARAMS;
    *directDraw = new DirectDraw;
    return DD_OK;
}
