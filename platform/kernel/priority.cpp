// Priorities as nice values.  Linux keeps a nice value per thread, so the
// process priority class is applied to every thread of the process, each at
// the class's base plus its own thread priority.  Raising priority needs a
// privilege; without it the call does nothing visible but the value is still
// recorded, so the Get functions return what was asked for.
#include <algorithm>
#include <atomic>
#include <dirent.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/resource.h>

#include "platform/kernel/thread_state.h"

namespace platform::kernel {
namespace {

std::atomic<DWORD> priorityClass{NORMAL_PRIORITY_CLASS};

struct PriorityTable {
    std::mutex mutex;
    std::map<pid_t, int> threadPriority;  // threads whose priority is not normal
};

PriorityTable& Table() {
    static PriorityTable* table = new PriorityTable;  // used by detached threads at exit
    return *table;
}

// Class bases leave room below them: with the idle class at 15 a
// below-normal thread (base + 5, held at 19) still yields to a normal one.
int ClassBase(DWORD cls) {
    switch (cls) {
    case IDLE_PRIORITY_CLASS: return 15;
    case HIGH_PRIORITY_CLASS: return -5;
    default: return 0;
    }
}

int NiceFor(DWORD cls, int priority) {
    int base = ClassBase(cls);
    int nice;
    switch (priority) {
    case THREAD_PRIORITY_IDLE: nice = 19; break;
    case THREAD_PRIORITY_LOWEST: nice = base + 10; break;
    case THREAD_PRIORITY_BELOW_NORMAL: nice = base + 5; break;
    case THREAD_PRIORITY_ABOVE_NORMAL: nice = base - 5; break;
    case THREAD_PRIORITY_HIGHEST: nice = base - 10; break;
    case THREAD_PRIORITY_TIME_CRITICAL: nice = base - 15; break;
    default: nice = base; break;
    }
    return std::clamp(nice, -20, 19);
}

bool ValidThreadPriority(int priority) {
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL: return true;
    default: return false;
    }
}

void SetNice(pid_t tid, int nice) {
    // Failure (no privilege, thread gone) is silent by design.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);
}

}  // namespace

void ApplyThreadPriority(pid_t tid, int priority) {
    PriorityTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (priority == THREAD_PRIORITY_NORMAL)
        table.threadPriority.erase(tid);
    else
        table.threadPriority[tid] = priority;
    SetNice(tid, NiceFor(priorityClass.load(), priority));
}

void ForgetThreadPriority(pid_t tid) {
    PriorityTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.threadPriority.erase(tid);
}

}  // namespace platform::kernel

BOOL SetThreadPriority(HANDLE thread, int priority) {
    if (!platform::kernel::ValidThreadPriority(priority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return FALSE;
    // Holding the thread's lock keeps its tid from being reused meanwhile:
    // a running thread marks itself finished under this lock before it ends.
    std::lock_guard lock(state->mutex);
    state->priority = priority;
    if (!state->finished) platform::kernel::ApplyThreadPriority(state->tid, priority);
    return TRUE;
}

int GetThreadPriority(HANDLE thread) {
    auto state = platform::kernel::ThreadFromHandle(thread);
    if (!state) return THREAD_PRIORITY_ERROR_RETURN;
    std::lock_guard lock(state->mutex);
    return state->priority;
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (priorityClass != IDLE_PRIORITY_CLASS && priorityClass != NORMAL_PRIORITY_CLASS &&
        priorityClass != HIGH_PRIORITY_CLASS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    using namespace platform::kernel;
    PriorityTable& table = Table();
    std::lock_guard lock(table.mutex);
    platform::kernel::priorityClass.store(priorityClass);
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return TRUE;
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        pid_t tid = static_cast<pid_t>(std::stol(entry->d_name));
        auto it = table.threadPriority.find(tid);
        SetNice(tid, NiceFor(priorityClass, it == table.threadPriority.end() ? THREAD_PRIORITY_NORMAL : it->second));
    }
    closedir(tasks);
    return TRUE;
}

DWORD GetPriorityClass(HANDLE process) {
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return platform::kernel::priorityClass.load();
}
