#pragma once
// Switching the screen to the display mode stored with the settings while
// the saver runs, through DirectDraw loaded at run time.
#include <array>
#include <cstddef>

#include "platform/win32.h"

// The stored mode: the registry value "DisplayMode" under the saver key, 156
// bytes laid out like the platform's device-mode record, of which four
// little-endian 32-bit fields are used.
constexpr DWORD DisplayModeSize = 156;
constexpr char DisplayModeValue[] = "DisplayMode";

enum DisplayModeField : std::size_t {
    ModeBitsPerPixel = 104,  // dmBitsPerPel
    ModeWidth = 108,         // dmPelsWidth
    ModeHeight = 112,        // dmPelsHeight
    ModeRefreshRate = 120,   // dmDisplayFrequency, 0 when the driver gave none
};

struct DisplayMode {
    std::array<BYTE, DisplayModeSize> bytes{};
};

DWORD GetModeField(const DisplayMode& mode, DisplayModeField field);
void SetModeField(DisplayMode& mode, DisplayModeField field, DWORD value);

// Reads the stored mode; FALSE (and a zeroed record) when there is none.
BOOL ReadDisplayMode(DisplayMode* mode);

// DirectDraw, kept process-wide while it is in use.
// Loads "DDRAW.DLL", creates the default DirectDraw object, obtains its
// IDirectDraw2 interface and sets the window's cooperative level.  1 when
// every step succeeded; a failing step leaves the rest undone.
BOOL InitDirectDraw(HWND window, DWORD cooperationFlags);
// Sets the mode's width, height and bits per pixel at the default refresh.
BOOL SetMode(const DisplayMode& mode);
// Back to the desktop's own mode.
BOOL RestoreMode(HWND window);
// Calls `callback` with a zeroed mode record for every mode the driver
// offers.  Needs InitDirectDraw.
using DisplayModeCallback = void (*)(const DisplayMode& mode, LPVOID context);
void EnumerateModes(DisplayModeCallback callback, LPVOID context);
// Releases the IDirectDraw2 interface and the DirectDraw object.
void ReleaseDirectDraw();

// At saver window creation: a full-screen window with a stored mode is
// resized to the mode and the mode is set.  1 when a switch was made (also
// when DirectDraw failed, so the input filters stay on).
BOOL SwitchDisplayMode(HWND window);
// At saver window destruction: back to the desktop's mode when a mode is
// stored.
void RestoreDisplayMode(HWND window);
