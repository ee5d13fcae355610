// Threads with Win32 handles.  Suspension is cooperative: SuspendThread only
// raises a count, and the target parks at its next suspension point.
// TerminateThread abandons: the handle is signalled at once and the thread
// parks for good at its next suspension point, so it never touches shared
// state again; the process ending ends it.
#include <chrono>
#include <unistd.h>

#include "platform/kernel/event.h"
#include "platform/kernel/object.h"
#include "platform/kernel/suspend.h"
#include "platform/kernel/thread_state.h"

namespace platform::kernel {
namespace {

struct ThreadObject : KernelObject {
    explicit ThreadObject(std::shared_ptr<ThreadState> s) : state(std::move(s)) {}
    std::shared_ptr<ThreadState> state;
};

struct CurrentThreadObject : KernelObject {
    bool Closable() const override { return false; }
};

struct CurrentProcessObject : KernelObject {
    bool Closable() const override { return false; }
};

thread_local std::shared_ptr<ThreadState> currentState;

void UpdateMustPark(ThreadState& state) { state.mustPark.store(state.suspendCount > 0 || state.abandoned); }

void RunThread(std::shared_ptr<ThreadState> state, LPTHREAD_START_ROUTINE start, LPVOID parameter) {
    currentState = state;
    {
        // The priority is settled before CreateThread returns, so a
        // SetThreadPriority right after it is never undone here.
        std::lock_guard lock(state->mutex);
        state->tid = gettid();
        ApplyThreadPriority(state->tid, state->priority);
        state->changed.notify_all();
    }
    platform::SuspensionPoint();  // CREATE_SUSPENDED waits here
    DWORD code = start(parameter);
    std::lock_guard lock(state->mutex);
    ForgetThreadPriority(state->tid);
    if (!state->finished) {
        state->finished = true;
        state->exitCode = code;
    }
    state->changed.notify_all();
}

}  // namespace

std::shared_ptr<ThreadState> CurrentThreadState() {
    if (!currentState) {
        currentState = std::make_shared<ThreadState>();
        currentState->tid = gettid();
    }
    return currentState;
}

std::shared_ptr<ThreadState> ThreadFromHandle(HANDLE thread) {
    if (thread == GetCurrentThread()) return CurrentThreadState();
    auto object = Resolve<ThreadObject>(thread);
    return object ? object->state : nullptr;
}

}  // namespace platform::kernel

using platform::kernel::ThreadState;

namespace platform {

void SuspensionPoint() {
    const auto& state = kernel::currentState;
    if (!state || !state->mustPark.load()) return;
    std::unique_lock lock(state->mutex);
    state->parked = true;
    state->changed.notify_all();
    state->changed.wait(lock, [&] { return state->suspendCount == 0 && !state->abandoned; });
    state->parked = false;
}

bool IsThreadParked(HANDLE thread) {
    auto state = kernel::ThreadFromHandle(thread);
    if (!state) return false;
    std::lock_guard lock(state->mutex);
    return state->parked;
}

}  // namespace platform

// The pseudo handles are registered once, for the life of the process.
HANDLE GetCurrentThread() {
    static HANDLE const handle = platform::kernel::AddHandle(std::make_shared<platform::kernel::CurrentThreadObject>());
    return handle;
}

HANDLE GetCurrentProcess() {
    static HANDLE const handle =
        platform::kernel::AddHandle(std::make_shared<platform::kernel::CurrentProcessObject>());
    return handle;
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(gettid()); }

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    if (creationFlags & CREATE_SUSPENDED) {
        state->suspendCount = 1;
        state->mustPark.store(true);
    }
    auto body = [state, start, parameter] { platform::kernel::RunThread(state, start, parameter); };
    if (!platform::kernel::SpawnThread(body)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    pid_t tid;
    {
        std::unique_lock lock(state->mutex);
        state->changed.wait(lock, [&] { return state->tid != 0; });
        tid = state->tid;
    }
    if (threadId) *threadId = static_cast<DWORD>(tid);
    return platform::kernel::AddHandle(std::make_shared<platform::kernel::ThreadObject>(state));
}

DWORD SuspendThread(HANDLE thread) {
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return static_cast<DWORD>(-1);
    std::lock_guard lock(state->mutex);
    if (state->suspendCount >= MAXIMUM_SUSPEND_COUNT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return static_cast<DWORD>(-1);
    }
    DWORD previous = state->suspendCount++;
    platform::kernel::UpdateMustPark(*state);
    return previous;
}

DWORD ResumeThread(HANDLE thread) {
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return static_cast<DWORD>(-1);
    std::lock_guard lock(state->mutex);
    DWORD previous = state->suspendCount;
    if (previous > 0) {
        --state->suspendCount;
        platform::kernel::UpdateMustPark(*state);
        state->changed.notify_all();
    }
    return previous;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    platform::SuspensionPoint();
    if (platform::kernel::IsEvent(object)) {
        DWORD result = platform::kernel::WaitForEvent(object, milliseconds);
        platform::SuspensionPoint();
        return result;
    }
    auto state = platform::kernel::ThreadFromHandle(object);
    if (!state) return WAIT_FAILED;
    bool signalled;
    {
        std::unique_lock lock(state->mutex);
        auto finished = [&] { return state->finished; };
        if (milliseconds == INFINITE) {
            state->changed.wait(lock, finished);
            signalled = true;
        } else {
            signalled = state->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), finished);
        }
    }
    platform::SuspensionPoint();
    return signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return FALSE;
    if (!exitCode) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(state->mutex);
    *exitCode = state->finished ? state->exitCode : STILL_ACTIVE;
    return TRUE;
}

BOOL TerminateThread(HANDLE thread, DWORD exitCode) {
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return FALSE;
    std::lock_guard lock(state->mutex);
    if (state->finished) return TRUE;
    state->abandoned = true;
    state->finished = true;
    state->exitCode = exitCode;
    platform::kernel::UpdateMustPark(*state);
    state->changed.notify_all();
    return TRUE;
}
