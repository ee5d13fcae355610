#pragma once
// The shared state of one thread: owned jointly by the thread itself and by
// every handle to it, so an abandoned thread never outlives what it uses.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/types.h>

#include "platform/kernel/kernel.h"

namespace platform::kernel {

struct ThreadState {
    std::mutex mutex;
    std::condition_variable changed;  // tid known, parked, resumed, finished
    pid_t tid = 0;
    DWORD suspendCount = 0;
    bool abandoned = false;
    bool parked = false;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    int priority = THREAD_PRIORITY_NORMAL;
    // suspendCount > 0 or abandoned; read without the lock at every
    // suspension point so that the common case costs one atomic load.
    std::atomic<bool> mustPark{false};
};

// The state of the thread behind a handle (the pseudo handle of the current
// thread included), or null with ERROR_INVALID_HANDLE.
std::shared_ptr<ThreadState> ThreadFromHandle(HANDLE thread);

// The calling thread's state, created on first use for threads that were not
// started with CreateThread.
std::shared_ptr<ThreadState> CurrentThreadState();

// Runs body on a new detached thread that starts at the process's base
// priority (spawner.cpp); false when no thread could be created.
bool SpawnThread(std::function<void()> body);

// Priorities (priority.cpp): the nice value of a thread follows the process
// priority class and its own thread priority.
void ApplyThreadPriority(pid_t tid, int priority);
void ForgetThreadPriority(pid_t tid);

}  // namespace platform::kernel
