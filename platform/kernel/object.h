#pragma once
// The objects behind kernel handles and the process-wide table of live
// handles.  Looking a handle up through the table makes a stale or foreign
// handle an error (ERROR_INVALID_HANDLE) instead of a crash, and the shared
// ownership keeps an object alive while another thread still uses it after
// CloseHandle.
#include <memory>

#include "platform/kernel/kernel.h"

struct KernelObject {
    virtual ~KernelObject() = default;
    // Pseudo handles (the current process and thread) ignore CloseHandle.
    virtual bool Closable() const { return true; }
};

namespace platform::kernel {

// Adds an object to the table; its address is the handle.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or null (with ERROR_INVALID_HANDLE set) when
// the handle is not live or not of type T.
template <class T>
std::shared_ptr<T> Resolve(HANDLE handle);

std::shared_ptr<KernelObject> ResolveAny(HANDLE handle);

// Removes a handle from the table; false when it was not live.
bool RemoveHandle(HANDLE handle);

// How many handles are live.
DWORD LiveHandleCount();

template <class T>
std::shared_ptr<T> Resolve(HANDLE handle) {
    auto typed = std::dynamic_pointer_cast<T>(ResolveAny(handle));
    if (!typed) SetLastError(ERROR_INVALID_HANDLE);
    return typed;
}

}  // namespace platform::kernel
