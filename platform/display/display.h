#pragma once
// Virtual display modes behind the DirectDraw names the program loads at run
// time.  A display mode here sets the size of the Canvas: the presenter scales
// the Canvas to the screen keeping its aspect ratio, and the monitor's real
// mode is never touched.  While a mode is set, the screen size the platform
// reports (GetSystemMetrics, HORZRES/VERTRES) is the mode's size, as after a
// real mode change; RestoreDisplayMode returns to the screen's own size.
//
// The library is reached like the real one: LoadLibraryA("DDRAW.DLL") and
// GetProcAddress(module, "DirectDrawCreate"), over a table of built-in
// modules.
#include "platform/kernel/kernel.h"
#include "platform/types.h"

// ---------------------------------------------------------------------------
// Run-time loading of built-in modules and shared libraries.
using FARPROC = INT_PTR (*)();

// "DDRAW.DLL" (any case, with or without a directory or the ".DLL" extension)
// is built in.  Any other name is a shared library, looked for as
// platform/kernel/library.h says; one that is not found fails with
// ERROR_MOD_NOT_FOUND (kernel.h).
HMODULE LoadLibraryA(LPCSTR fileName);
// Null with ERROR_PROC_NOT_FOUND for a name the module does not export, and
// with ERROR_INVALID_HANDLE for a module that is not loaded.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// Loads are counted; the module stays usable until the last FreeLibrary.
BOOL FreeLibrary(HMODULE module);

// ---------------------------------------------------------------------------
// COM basics.
using HRESULT = LONG;

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using REFIID = const IID&;
bool operator==(const GUID& a, const GUID& b);

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// ---------------------------------------------------------------------------
// DirectDraw.
constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDENUMRET_CANCEL = 0;
constexpr HRESULT DDENUMRET_OK = 1;
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082u);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);

// SetCooperativeLevel flags.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// DDSURFACEDESC dwFlags.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_REFRESHRATE = 0x00040000;

// DDPIXELFORMAT dwFlags.
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
constexpr DWORD DDPF_RGB = 0x00000040;

// EnumDisplayModes flags.
constexpr DWORD DDEDM_REFRESHRATES = 0x00000001;
constexpr DWORD DDEDM_STANDARDVGAMODES = 0x00000002;

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSCAPS {
    DWORD dwCaps;
};

// The fields a display mode needs (no colour keys).
struct DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};
using LPDDSURFACEDESC = DDSURFACEDESC*;

using LPDDENUMMODESCALLBACK = HRESULT (*)(LPDDSURFACEDESC desc, LPVOID context);

// The interface identifiers QueryInterface knows.
extern const IID IID_IUnknown;
extern const IID IID_IDirectDraw;
extern const IID IID_IDirectDraw2;

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, LPVOID* object) = 0;
    // One count for the object, shared by all its interfaces; the object
    // ends with the last Release.
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

// The display-mode part of DirectDraw.  Modes offered: 320x200, 320x240,
// 400x300, 512x384, 640x400, 640x480, 800x600, 1024x768, 1152x864, 1280x960,
// 1280x1024 and 1600x1200 where they fit the screen, and the screen's own
// size, each at 8, 16, 24 and 32 bits per pixel, 60 Hz.
class IDirectDraw : public IUnknown {
public:
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) = 0;
    // Refresh rate of IDirectDraw's form: the driver's default.
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC match, LPVOID context,
                                     LPDDENUMMODESCALLBACK callback) = 0;

protected:
    ~IDirectDraw() = default;
};

class IDirectDraw2 : public IUnknown {
public:
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD flags) = 0;
    // An offered mode; refresh 0 means the default (60 Hz); no flags are
    // defined.  DDERR_INVALIDMODE for anything else.
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    // Calls `callback` once per offered mode (those matching the width,
    // height, bit count and refresh rate `match` names in its dwFlags, when
    // given), each with DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH |
    // DDSD_PIXELFORMAT | DDSD_REFRESHRATE, smallest first, until it returns
    // DDENUMRET_CANCEL.
    virtual HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC match, LPVOID context,
                                     LPDDENUMMODESCALLBACK callback) = 0;

protected:
    ~IDirectDraw2() = default;
};
using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAW2 = IDirectDraw2*;

// The export "DirectDrawCreate" of "DDRAW.DLL": the default driver only
// (guid null); `outer` must be null.
HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer);
using LPDIRECTDRAWCREATE = HRESULT (*)(GUID*, LPDIRECTDRAW*, IUnknown*);

// ---------------------------------------------------------------------------
// The screen's display settings, as user32 reports them.
struct DEVMODEA {
    BYTE dmDeviceName[32];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    LONG dmPositionX;  // the display half of the printer/display union
    LONG dmPositionY;
    DWORD dmDisplayOrientation;
    DWORD dmDisplayFixedOutput;
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    BYTE dmFormName[32];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
};
using LPDEVMODEA = DEVMODEA*;

constexpr DWORD ENUM_CURRENT_SETTINGS = static_cast<DWORD>(-1);
constexpr DWORD ENUM_REGISTRY_SETTINGS = static_cast<DWORD>(-2);
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;

// The primary display only (`deviceName` null).  ENUM_CURRENT_SETTINGS gives
// the mode in force (a virtual mode while one is set), ENUM_REGISTRY_SETTINGS
// the screen's own mode (8 bits per pixel), and 0, 1, ... the offered modes
// until FALSE.  The record is cleared but for dmSize and dmDriverExtra, which
// the caller sets, and the bits per pixel, size and frequency.
BOOL EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNum, LPDEVMODEA devMode);

namespace platform {

struct VirtualMode {
    int width;
    int height;
    int bitsPerPixel;
};

// The virtual mode now set, or the screen's own size (and 8 bits) when none is.
VirtualMode CurrentVirtualMode();
// True while a mode set through DirectDraw is in force.
bool VirtualModeActive();

}  // namespace platform
