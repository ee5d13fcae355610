// New threads are started by one helper thread that stays at the process's
// base priority.  Linux threads inherit their creator's nice value, and
// without privilege a nice value can only go up: a normal-priority thread
// created by a below-normal one could otherwise never get back to normal.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/kernel/thread_state.h"

namespace platform::kernel {
namespace {

struct Request {
    std::function<void()> body;
    bool done = false;
    bool started = false;
};

struct Spawner {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Request*> queue;
};

bool StartDetached(std::function<void()> body) {
    try {
        std::thread(std::move(body)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

[[noreturn]] void Serve(Spawner* spawner) {
    for (;;) {
        Request* request;
        {
            std::unique_lock lock(spawner->mutex);
            spawner->changed.wait(lock, [&] { return !spawner->queue.empty(); });
            request = spawner->queue.front();
            spawner->queue.pop_front();
        }
        bool started = StartDetached(std::move(request->body));
        std::lock_guard lock(spawner->mutex);
        request->started = started;
        request->done = true;
        spawner->changed.notify_all();
    }
}

// Lives for the whole process, like the thread that serves it.
Spawner* StartSpawner() {
    auto* spawner = new Spawner;
    if (StartDetached([spawner] { Serve(spawner); })) return spawner;
    delete spawner;
    return nullptr;
}

}  // namespace

bool SpawnThread(std::function<void()> body) {
    static Spawner* const spawner = StartSpawner();
    if (!spawner) return StartDetached(std::move(body));
    Request request{std::move(body)};
    std::unique_lock lock(spawner->mutex);
    spawner->queue.push_back(&request);
    spawner->changed.notify_all();
    spawner->changed.wait(lock, [&] { return request.done; });
    return request.started;
}

}  // namespace platform::kernel
