// Process-wide flags of the window system: the screen-saver-running flag and
// the cursor's display counter.
#include <atomic>
#include <functional>
#include <mutex>

#include "platform/kernel/kernel.h"
#include "platform/registry/registry.h"
#include "platform/screensaver/cursor.h"
#include "platform/screensaver/screensaver.h"

namespace {

std::atomic<BOOL> saverRunning{FALSE};
// -1 until this session sets it: the profile's value counts.
std::atomic<int> saveActive{-1};

constexpr char DesktopKey[] = "Control Panel\\Desktop";

BOOL ProfileSaveActive() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
    char value[4] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, "ScreenSaveActive", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ && value[0] == '1' ? TRUE : FALSE;
}

BOOL WriteProfileSaveActive(bool active) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return FALSE;
    const char* value = active ? "1" : "0";
    LONG status = RegSetValueExA(key, "ScreenSaveActive", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? TRUE : FALSE;
}
std::atomic<int> cursorCount{0};

std::mutex listenerMutex;
std::function<void(bool)>& listener() {
    static std::function<void(bool)> l;
    return l;
}

void notifyCursor(int count) {
    std::function<void(bool)> notify;
    {
        std::lock_guard lock(listenerMutex);
        notify = listener();
    }
    if (notify) notify(count >= 0);
}

}  // namespace

BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni) {
    switch (action) {
    case SPI_SETSCREENSAVERRUNNING: {
        BOOL previous = saverRunning.exchange(uiParam ? TRUE : FALSE);
        if (pvParam) *static_cast<BOOL*>(pvParam) = previous;
        return TRUE;
    }
    case SPI_SETSCREENSAVEACTIVE:
        saveActive = uiParam ? 1 : 0;
        return (winIni & SPIF_UPDATEINIFILE) ? WriteProfileSaveActive(uiParam != 0) : TRUE;
    case SPI_GETSCREENSAVEACTIVE:
        if (!pvParam) break;
        *static_cast<BOOL*>(pvParam) = saveActive >= 0 ? static_cast<BOOL>(saveActive.load()) : ProfileSaveActive();
        return TRUE;
    case SPI_GETSCREENSAVERRUNNING:
        if (!pvParam) break;
        *static_cast<BOOL*>(pvParam) = saverRunning.load();
        return TRUE;
    default:
        break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

int ShowCursor(BOOL show) {
    int count = show ? ++cursorCount : --cursorCount;
    notifyCursor(count);
    return count;
}

namespace platform::saver {

void SetCursorListener(std::function<void(bool visible)> onChange) {
    std::lock_guard lock(listenerMutex);
    listener() = std::move(onChange);
}

bool CursorVisible() { return cursorCount.load() >= 0; }

int CursorCount() { return cursorCount.load(); }

void SetCursorCount(int count) {
    cursorCount = count;
    notifyCursor(count);
}

}  // namespace platform::saver
