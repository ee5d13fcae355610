#include "saver/runtime/display_mode.h"

#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"

namespace {

// The system's screen-saver-running flag before the switch.
BOOL PreviousSaverFlag = FALSE;

bool CoversScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    return client.right == width && client.bottom == height;
}

}  // namespace

DWORD GetModeField(const DisplayMode& mode, DisplayModeField field) {
    const BYTE* p = mode.bytes.data() + field;
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 | static_cast<DWORD>(p[2]) << 16 |
           static_cast<DWORD>(p[3]) << 24;
}

void SetModeField(DisplayMode& mode, DisplayModeField field, DWORD value) {
    BYTE* p = mode.bytes.data() + field;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<BYTE>(value >> (8 * i));
}

BOOL ReadDisplayMode(DisplayMode* mode) {
    DWORD type = REG_BINARY;
    DWORD size = DisplayModeSize;
    return ReadSaverValue(DisplayModeValue, SaverKeyWord, &type, mode->bytes.data(), &size);
}

BOOL SwitchDisplayMode(HWND window) {
    if (!CoversScreen(window)) return 0;
    DisplayMode mode;
    if (!ReadDisplayMode(&mode)) return 0;
    SetWindowPos(window, nullptr, 0, 0, static_cast<int>(GetModeField(mode, ModeWidth)),
                 static_cast<int>(GetModeField(mode, ModeHeight)), SWP_NOZORDER | SWP_NOREDRAW);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, &PreviousSaverFlag, 0);
    if (InitDirectDraw(window, DDSCL_EXCLUSIVE | DDSCL_NOWINDOWCHANGES | DDSCL_FULLSCREEN)) SetMode(mode);
    return 1;
}

void RestoreDisplayMode(HWND window) {
    DisplayMode mode;
    if (!ReadDisplayMode(&mode)) return;
    RestoreMode(window);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, static_cast<UINT>(PreviousSaverFlag), nullptr, 0);
}
