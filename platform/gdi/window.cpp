// Windows, their DCs, the screen, and the publication of finished frames.
#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/hardware_palette.h"
#include "platform/kernel/suspend.h"

using namespace gdi;

namespace {

struct WindowRegistry {
    std::shared_mutex mutex;  // shared while hooks run, so detach waits for them
    std::unordered_set<Window*> live;
};

// The registries live for the whole process: windows and DCs may be
// released while statics are destroyed.
WindowRegistry& Windows() {
    static auto* registry = new WindowRegistry;
    return *registry;
}

struct Screen {
    std::mutex mutex;
    SIZE size{0, 0};
    std::shared_ptr<WindowTarget> target;
};

Screen& TheScreen() {
    static auto* screen = new Screen;
    return *screen;
}

void DefaultScreenSize(int width, int height) {
    Screen& s = TheScreen();
    std::lock_guard lock(s.mutex);
    if (s.size.cx == 0 && width > 0 && height > 0) s.size = {width, height};
}

std::shared_ptr<WindowTarget> ScreenTarget() {
    const SIZE size = ScreenSize();
    Screen& s = TheScreen();
    std::lock_guard lock(s.mutex);
    if (!s.target) {
        s.target = std::make_shared<WindowTarget>();
        s.target->setSurface(Surface::Create(size.cx, size.cy, 8, false, true));
    }
    return s.target;
}

// The window targets whose DCs the calling thread took, to pace its flushes.
thread_local std::vector<std::weak_ptr<WindowTarget>> tPacedTargets;

void RememberForPacing(const std::shared_ptr<WindowTarget>& target) {
    auto& list = tPacedTargets;
    std::erase_if(list, [](const auto& w) { return w.expired(); });
    for (const auto& w : list)
        if (w.lock() == target) return;
    list.push_back(target);
}

// The window behind a handle, as a target, under the registry lock.
std::shared_ptr<WindowTarget> TargetOf(HWND window) {
    WindowRegistry& r = Windows();
    std::shared_lock lock(r.mutex);
    return r.live.count(window) ? window->target() : nullptr;
}

struct Offscreen {
    std::mutex mutex;
    std::unordered_set<Window*> windows;
};

Offscreen& OffscreenWindows() {
    static auto* offscreen = new Offscreen;
    return *offscreen;
}

}  // namespace

namespace gdi {

SIZE ScreenSize() {
    Screen& s = TheScreen();
    std::lock_guard lock(s.mutex);
    return s.size.cx > 0 ? s.size : SIZE{640, 480};
}

void PublishPalette(const std::shared_ptr<WindowTarget>& target) {
    if (!target || !target->presenter) return;
    target->presenter->publishPalette(HardwareSnapshot());
    WindowRegistry& r = Windows();
    std::shared_lock lock(r.mutex);
    for (Window* w : r.live)
        if (w->target() == target) w->palettePublished();
}

}  // namespace gdi

Window::Window(int width, int height, std::shared_ptr<gdi::Presenter> presenter, UINT classStyle)
    : classStyle_(classStyle), presenter_(std::move(presenter)), target_(std::make_shared<WindowTarget>()) {
    target_->presenter = presenter_;
    target_->classStyle = classStyle;
    target_->setSurface(Surface::Create(width, height, 8, false, true));
    // A window always shows through the hardware palette, realised or not, so
    // its static colours are right from the first frame.
    if (presenter_) presenter_->publishPalette(gdi::HardwareSnapshot());
    DefaultScreenSize(width, height);
    WindowRegistry& r = Windows();
    std::unique_lock lock(r.mutex);
    r.live.insert(this);
}

Window::~Window() { detach(); }

void Window::detach() {
    {
        WindowRegistry& r = Windows();
        std::unique_lock lock(r.mutex);
        if (!r.live.erase(this)) return;
    }
    HDC privateDC;
    {
        std::lock_guard lock(target_->mutex);
        privateDC = std::exchange(target_->privateDC, nullptr);
    }
    if (privateDC) DestroyDC(privateDC);
}

RECT Window::clientRect() const {
    auto s = target_->surface();
    return s ? s->bounds() : RECT{0, 0, 0, 0};
}

void Window::resizeClient(int width, int height) {
    target_->setSurface(Surface::Create(width, height, 8, false, true));
}

HDC GetDC(HWND window) {
    if (!window) return NewDC(ScreenTarget(), false);
    auto target = TargetOf(window);
    if (!target) return nullptr;
    RememberForPacing(target);
    if (!(target->classStyle & CS_OWNDC)) return NewDC(target, false);
    std::lock_guard lock(target->mutex);
    if (!target->privateDC) target->privateDC = NewDC(target, true);
    return target->privateDC;
}

int ReleaseDC(HWND, HDC hdc) {
    auto dc = LookupDC(hdc);
    if (!dc) return 0;
    bool windowDC;
    {
        std::lock_guard lock(dc->mutex);
        if (dc->privateDC) return 1;
        windowDC = dc->window != nullptr;
    }
    return windowDC && DestroyDC(hdc) ? 1 : 0;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    if (!rect) return FALSE;
    WindowRegistry& r = Windows();
    std::shared_lock lock(r.mutex);
    if (!r.live.count(window)) return FALSE;
    *rect = window->clientRect();
    return TRUE;
}

BOOL IsWindow(HWND window) {
    WindowRegistry& r = Windows();
    std::shared_lock lock(r.mutex);
    return r.live.count(window) ? TRUE : FALSE;
}

int GetSystemMetrics(int index) {
    const SIZE size = ScreenSize();
    switch (index) {
    case SM_CXSCREEN: return size.cx;
    case SM_CYSCREEN: return size.cy;
    default: return 0;
    }
}

BOOL GdiFlush() {
    platform::SuspensionPoint();
    {
        WindowRegistry& r = Windows();
        std::shared_lock lock(r.mutex);
        for (Window* w : r.live) {
            const auto& target = w->target();
            auto s = target->surface();
            if (!s || !target->presenter || !s->dirty.load(std::memory_order_relaxed)) continue;
            {
                std::lock_guard pixels(s->mutex);
                s->dirty.store(false, std::memory_order_relaxed);
                if (s->changed.empty()) continue;
                target->presenter->publishChanged(s->row(0), s->width, s->height, s->stride, s->changed);
                s->changed.clear();
            }
            w->framePublished();
        }
    }
    std::vector<std::shared_ptr<Presenter>> paced;
    for (const auto& weak : tPacedTargets) {
        auto target = weak.lock();
        if (!target || !target->presenter) continue;
        if (std::find(paced.begin(), paced.end(), target->presenter) != paced.end()) continue;
        paced.push_back(target->presenter);
        target->presenter->pace();
    }
    return TRUE;
}

namespace platform {

HWND CreateOffscreenWindow(int width, int height, std::shared_ptr<gdi::Presenter> presenter) {
    auto* window = new Window(width, height, std::move(presenter), CS_OWNDC);
    Offscreen& o = OffscreenWindows();
    std::lock_guard lock(o.mutex);
    o.windows.insert(window);
    return window;
}

void DestroyOffscreenWindow(HWND window) {
    {
        Offscreen& o = OffscreenWindows();
        std::lock_guard lock(o.mutex);
        if (!o.windows.erase(window)) return;
    }
    delete window;
}

void SetScreenSize(int width, int height) {
    if (width <= 0 || height <= 0) return;
    Screen& s = TheScreen();
    std::lock_guard lock(s.mutex);
    s.size = {width, height};
}

}  // namespace platform
