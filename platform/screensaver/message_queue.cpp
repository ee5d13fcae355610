#include "platform/screensaver/message_queue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/screensaver/foreign_windows.h"

namespace platform::saver {

namespace {

// A queued entry is a posted message or, with `call` set, work another
// thread wants done on the window thread.
struct Entry {
    MSG msg{};
    std::function<void()> call;
};

struct Queue {
    std::mutex mutex;
    std::deque<Entry> entries;
    std::function<void()> waker;
    std::thread::id windowThread;
    std::optional<int> quitCode;
};

Queue& queue() {
    static Queue q;
    return q;
}

bool matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    // WM_QUIT belongs to no window and is seen whatever the window filter.
    if (hwnd && msg.hwnd != hwnd && msg.message != WM_QUIT) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

// The waker is called under the lock, so it cannot run after RemoveWaker
// returned (its loop object may be gone by then); it must not block.
void push(Entry entry) {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    q.entries.push_back(std::move(entry));
    if (q.waker) q.waker();
}

}  // namespace

void InstallWaker(std::function<void()> waker) {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    q.waker = std::move(waker);
    q.windowThread = std::this_thread::get_id();
    if (!q.entries.empty()) q.waker();
}

void RemoveWaker() {
    Queue& q = queue();
    std::deque<Entry> calls;
    {
        std::lock_guard lock(q.mutex);
        q.waker = nullptr;
        q.windowThread = std::thread::id();
        for (auto it = q.entries.begin(); it != q.entries.end();) {
            if (it->call) {
                calls.push_back(std::move(*it));
                it = q.entries.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (Entry& entry : calls) entry.call();
}

bool OnWindowThread() {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    return q.waker && q.windowThread == std::this_thread::get_id();
}

std::optional<int> DrainQueue() {
    Queue& q = queue();
    for (;;) {
        Entry entry;
        {
            std::lock_guard lock(q.mutex);
            if (q.entries.empty()) return std::nullopt;
            entry = std::move(q.entries.front());
            q.entries.pop_front();
        }
        if (entry.call) {
            entry.call();
        } else if (entry.msg.message == WM_QUIT) {
            return static_cast<int>(entry.msg.wParam);
        } else {
            DispatchMessageA(&entry.msg);
        }
    }
}

namespace {

// Queues `call` for the window thread and waits until it has run, at most
// `limit` when one is given.  Empty when there is no window thread to queue
// for, or the caller is that thread; otherwise whether the call ran in time.
std::optional<bool> CallQueuedOnWindowThread(std::function<void()> call,
                                             std::optional<std::chrono::milliseconds> limit) {
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        if (!q.waker || q.windowThread == std::this_thread::get_id()) return std::nullopt;
    }
    struct Done {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    Entry entry;
    entry.call = [done, call = std::move(call)] {
        call();
        std::lock_guard lock(done->mutex);
        done->done = true;
        done->cv.notify_all();
    };
    push(std::move(entry));
    std::unique_lock lock(done->mutex);
    if (!limit) {
        done->cv.wait(lock, [&] { return done->done; });
        return true;
    }
    return done->cv.wait_for(lock, *limit, [&] { return done->done; });
}

}  // namespace

void RunOnWindowThread(const std::function<void()>& call) {
    if (!CallQueuedOnWindowThread(call, std::nullopt)) call();
}

void DiscardMessagesFor(HWND hwnd) {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    std::erase_if(q.entries, [hwnd](const Entry& e) { return !e.call && e.msg.hwnd == hwnd; });
}

std::optional<int> QuitCode() {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    return q.quitCode;
}

void ResetQueue() {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    std::erase_if(q.entries, [](const Entry& e) { return !e.call; });
    q.quitCode.reset();
}

}  // namespace platform::saver

using namespace platform::saver;

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !IsWindow(hwnd)) {
        if (std::optional<BOOL> posted = PostToForeignWindow(hwnd, message)) return *posted;
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Entry entry;
    entry.msg = MSG{hwnd, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
    push(std::move(entry));
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    {
        Queue& q = queue();
        std::lock_guard lock(q.mutex);
        q.quitCode = exitCode;
    }
    Entry entry;
    entry.msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(static_cast<unsigned>(exitCode)), 0, GetTickCount(),
                    POINT{0, 0}};
    push(std::move(entry));
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    for (auto it = q.entries.begin(); it != q.entries.end(); ++it) {
        if (it->call || !matches(it->msg, hwnd, filterMin, filterMax)) continue;
        *msg = it->msg;
        if (removeMsg & PM_REMOVE) q.entries.erase(it);
        return TRUE;
    }
    return FALSE;
}

DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds) {
    // A no-op queued behind everything pending runs once the queue is idle.
    std::optional<bool> reached = platform::saver::CallQueuedOnWindowThread([] {}, std::chrono::milliseconds(milliseconds));
    return !reached || *reached ? 0 : WAIT_TIMEOUT;
}
