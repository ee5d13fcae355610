// DirectDraw as the program has always used it: loaded at run time, so that
// the saver also runs where it is missing.
#include <utility>

#include "saver/runtime/display_mode.h"

namespace {

HMODULE DirectDrawModule = nullptr;
LPDIRECTDRAWCREATE DirectDrawCreateProc = nullptr;
LPDIRECTDRAW DirectDrawObject = nullptr;
LPDIRECTDRAW2 DirectDraw2 = nullptr;

HRESULT ReportMode(LPDDSURFACEDESC desc, LPVOID context) {
    auto* target = static_cast<std::pair<DisplayModeCallback, LPVOID>*>(context);
    DisplayMode mode;
    SetModeField(mode, ModeBitsPerPixel, desc->ddpfPixelFormat.dwRGBBitCount);
    SetModeField(mode, ModeWidth, desc->dwWidth);
    SetModeField(mode, ModeHeight, desc->dwHeight);
    if (desc->dwFlags & DDSD_REFRESHRATE) SetModeField(mode, ModeRefreshRate, desc->dwRefreshRate);
    target->first(mode, target->second);
    return DDENUMRET_OK;
}

}  // namespace

BOOL InitDirectDraw(HWND window, DWORD cooperationFlags) {
    // A second set-up (the Display page asks more than once) must not leak
    // the objects of the first.
    ReleaseDirectDraw();
    if (!DirectDrawModule) DirectDrawModule = LoadLibraryA("DDRAW.DLL");
    if (!DirectDrawModule) return 0;
    FARPROC proc = GetProcAddress(DirectDrawModule, "DirectDrawCreate");
    if (!proc) return 0;
    // An export's address is cast to its real type, through the generic
    // function type the compiler accepts for that.
    DirectDrawCreateProc = reinterpret_cast<LPDIRECTDRAWCREATE>(reinterpret_cast<void (*)()>(proc));
    if (FAILED(DirectDrawCreateProc(nullptr, &DirectDrawObject, nullptr)) || !DirectDrawObject) return 0;
    void* second = nullptr;
    if (FAILED(DirectDrawObject->QueryInterface(IID_IDirectDraw2, &second)) || !second) return 0;
    DirectDraw2 = static_cast<LPDIRECTDRAW2>(second);
    return SUCCEEDED(DirectDraw2->SetCooperativeLevel(window, cooperationFlags)) ? 1 : 0;
}

BOOL SetMode(const DisplayMode& mode) {
    if (!DirectDraw2) return 0;
    HRESULT result = DirectDraw2->SetDisplayMode(GetModeField(mode, ModeWidth), GetModeField(mode, ModeHeight),
                                                 GetModeField(mode, ModeBitsPerPixel), 0, 0);
    return SUCCEEDED(result) ? 1 : 0;
}

BOOL RestoreMode(HWND window) {
    if (!DirectDraw2) return 0;
    DirectDraw2->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    return SUCCEEDED(DirectDraw2->RestoreDisplayMode()) ? 1 : 0;
}

void EnumerateModes(DisplayModeCallback callback, LPVOID context) {
    if (!DirectDraw2 || !callback) return;
    std::pair<DisplayModeCallback, LPVOID> target{callback, context};
    DirectDraw2->EnumDisplayModes(0, nullptr, &target, ReportMode);
}

void ReleaseDirectDraw() {
    if (DirectDraw2) {
        DirectDraw2->Release();
        DirectDraw2 = nullptr;
    }
    if (DirectDrawObject) {
        DirectDrawObject->Release();
        DirectDrawObject = nullptr;
    }
}
