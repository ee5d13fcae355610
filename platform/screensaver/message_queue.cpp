#include "platform/screensaver/message_queue.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"

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

void RunOnWindowThread(const std::function<void()>& call) {
    Queue& q = queue();
    {
        std::unique_lock lock(q.mutex);
        if (!q.waker || q.windowThread == std::this_thread::get_id()) {
            lock.unlock();
            call();
            return;
        }
    }
    struct Done {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    Entry entry;
    entry.call = [done, &call] {
        call();
        std::lock_guard lock(done->mutex);
        done->done = true;
        done->cv.notify_all();
    };
    push(std::move(entry));
    std::unique_lock lock(done->mutex);
    done->cv.wait(lock, [&] { return done->done; });
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
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        if (!q.waker || q.windowThread == std::this_thread::get_id()) return 0;
    }
    struct Idle {
        std::mutex mutex;
        std::condition_variable cv;
        bool reached = false;
    };
    auto idle = std::make_shared<Idle>();
    Entry marker;
    marker.call = [idle] {
        std::lock_guard lock(idle->mutex);
        idle->reached = true;
        idle->cv.notify_all();
    };
    push(std::move(marker));
    std::unique_lock lock(idle->mutex);
    bool reached = idle->cv.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return idle->reached; });
    return reached ? 0 : WAIT_TIMEOUT;
}
