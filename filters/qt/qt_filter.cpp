// "QTIMP32.FLT": the import filter over Qt's image readers.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "filters/common/filter_import.h"
#include "filters/qt/qt_decode.h"

namespace {

// Qt keeps data for the thread that makes its objects, and the image
// plug-ins it loads live until the process exits and then free themselves
// through that data: the thread must outlive them.  The caller's thread may
// end at any time, so the pictures are decoded on one thread of the
// filter's own that lives as long as the process (the library is linked to
// stay loaded once loaded).
struct DecodeThread {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> job;
    bool done = false;
};

[[noreturn]] void Serve(DecodeThread* thread) {
    for (;;) {
        std::unique_lock lock(thread->mutex);
        thread->changed.wait(lock, [&] { return static_cast<bool>(thread->job); });
        thread->job();
        thread->job = nullptr;
        thread->done = true;
        thread->changed.notify_all();
    }
}

// Never destroyed: the thread waits on it until the process ends.
DecodeThread* StartDecodeThread() {
    auto* thread = new DecodeThread;
    try {
        std::thread(Serve, thread).detach();
    } catch (const std::system_error&) {
        delete thread;
        return nullptr;
    }
    return thread;
}

bool DecodeOnFilterThread(const BYTE* data, std::size_t size, filter::PackedDib& picture) {
    static DecodeThread* const thread = StartDecodeThread();
    static std::mutex oneAtATime;
    if (!thread) return false;
    std::lock_guard caller(oneAtATime);
    bool decoded = false;
    std::unique_lock lock(thread->mutex);
    thread->done = false;
    thread->job = [&] { decoded = filter::DecodeWithQt(data, size, picture); };
    thread->changed.notify_all();
    thread->changed.wait(lock, [&] { return thread->done; });
    return decoded;
}

}  // namespace

LUMORA_IMPORT_FILTER(DecodeOnFilterThread)
