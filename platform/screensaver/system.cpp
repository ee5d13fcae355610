// Process-wide flags of the window system: the screen-saver-running flag and
// the cursor's display counter.
#include <atomic>
#include <functional>
#include <mutex>

#include "platform/kernel/kernel.h"
#include "platform/screensaver/cursor.h"
#include "platform/screensaver/screensaver.h"

namespace {

std::atomic<BOOL> saverRunning{FALSE};
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
