#include <mutex>
#include <unordered_map>

#include "platform/kernel/object.h"

namespace platform::kernel {
namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> objects;
};

// Never destroyed: detached threads may still close handles while the
// process runs its exit handlers.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
    HANDLE handle = object.get();
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.objects.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<KernelObject> ResolveAny(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

bool RemoveHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;  // destroyed outside the lock
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end()) return false;
    object = std::move(it->second);
    table.objects.erase(it);
    return true;
}

DWORD LiveHandleCount() {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return static_cast<DWORD>(table.objects.size());
}

}  // namespace platform::kernel

BOOL GetProcessHandleCount(HANDLE process, LPDWORD count) {
    if (process != GetCurrentProcess() || count == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *count = platform::kernel::LiveHandleCount();
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    auto resolved = platform::kernel::ResolveAny(object);
    if (!resolved) return FALSE;
    if (resolved->Closable()) platform::kernel::RemoveHandle(object);
    return TRUE;
}
