// EnumDisplaySettingsA over the virtual modes.
#include <cstddef>
#include <cstring>

#include "platform/display/modes.h"

static_assert(sizeof(DEVMODEA) == 156, "the device-mode record of Windows 2000 and later");
static_assert(offsetof(DEVMODEA, dmBitsPerPel) == 104 && offsetof(DEVMODEA, dmDisplayFrequency) == 120);

BOOL EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNum, LPDEVMODEA devMode) {
    if (deviceName || !devMode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::VirtualMode mode{};
    if (modeNum == ENUM_CURRENT_SETTINGS) {
        mode = platform::CurrentVirtualMode();
    } else {
        int width = 0;
        int height = 0;
        platform::display::NativeScreenSize(width, height);
        if (modeNum == ENUM_REGISTRY_SETTINGS) {
            mode = {width, height, 8};
        } else {
            std::vector<platform::VirtualMode> offered = platform::display::OfferedModes(width, height);
            if (modeNum >= offered.size()) return FALSE;
            mode = offered[modeNum];
        }
    }
    WORD size = devMode->dmSize;
    WORD driverExtra = devMode->dmDriverExtra;
    std::memset(devMode, 0, sizeof *devMode);
    devMode->dmSize = size;
    devMode->dmDriverExtra = driverExtra;
    devMode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    devMode->dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPixel);
    devMode->dmPelsWidth = static_cast<DWORD>(mode.width);
    devMode->dmPelsHeight = static_cast<DWORD>(mode.height);
    devMode->dmDisplayFrequency = platform::display::kRefreshRate;
    return TRUE;
}
