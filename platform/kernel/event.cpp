// Event objects.  A manual-reset event stays signalled until ResetEvent; an
// auto-reset event lets one wait through and clears itself.  The state is
// shared with every handle and every waiter, so closing the last handle while
// a thread still waits is safe.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/kernel/event.h"
#include "platform/kernel/object.h"

namespace platform::kernel {
namespace {

struct EventObject : KernelObject {
    EventObject(bool manual, bool signalled) : manualReset(manual), state(signalled) {}
    std::mutex mutex;
    std::condition_variable changed;
    const bool manualReset;
    bool state;
};

BOOL Change(HANDLE event, bool signalled) {
    auto object = Resolve<EventObject>(event);
    if (!object) return FALSE;
    std::lock_guard lock(object->mutex);
    object->state = signalled;
    if (signalled) object->changed.notify_all();
    return TRUE;
}

}  // namespace

bool IsEvent(HANDLE object) { return std::dynamic_pointer_cast<EventObject>(ResolveAny(object)) != nullptr; }

DWORD WaitForEvent(HANDLE event, DWORD milliseconds) {
    auto object = Resolve<EventObject>(event);
    if (!object) return WAIT_FAILED;
    std::unique_lock lock(object->mutex);
    auto signalled = [&] { return object->state; };
    bool got = true;
    if (milliseconds == INFINITE)
        object->changed.wait(lock, signalled);
    else
        got = object->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), signalled);
    if (!got) return WAIT_TIMEOUT;
    if (!object->manualReset) object->state = false;
    return WAIT_OBJECT_0;
}

}  // namespace platform::kernel

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
    if (name) {
        // Named events would be shared across processes; nothing asks for one.
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    return platform::kernel::AddHandle(
        std::make_shared<platform::kernel::EventObject>(manualReset != FALSE, initialState != FALSE));
}

BOOL SetEvent(HANDLE event) { return platform::kernel::Change(event, true); }

BOOL ResetEvent(HANDLE event) { return platform::kernel::Change(event, false); }
