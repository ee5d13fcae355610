#include "platform/screensaver/x11_parent.h"

#include <QSocketNotifier>
#include <X11/Xlib.h>

#include "platform/screensaver/x11_error_trap.h"

namespace platform::saver {

std::unique_ptr<X11Parent> X11Parent::Open(unsigned long windowId, std::string* error) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        if (error) *error = "cannot open the X display";
        return nullptr;
    }
    XWindowAttributes attributes{};
    bool ok;
    {
        ErrorTrap trap(display);
        ok = XGetWindowAttributes(display, static_cast<::Window>(windowId), &attributes) != 0;
        if (ok) XSelectInput(display, static_cast<::Window>(windowId), StructureNotifyMask);
        ok = !trap.failed() && ok;
    }
    if (!ok || attributes.width <= 0 || attributes.height <= 0) {
        XCloseDisplay(display);
        if (error) *error = "no X window with the id " + std::to_string(windowId);
        return nullptr;
    }
    return std::unique_ptr<X11Parent>(new X11Parent(display, windowId, attributes.width, attributes.height));
}

X11Parent::X11Parent(Display* display, unsigned long windowId, int width, int height)
    : display_(display), windowId_(windowId), width_(width), height_(height) {}

X11Parent::~X11Parent() {
    notifier_.reset();
    XCloseDisplay(display_);
}

void X11Parent::watch(std::function<void(int, int)> resized, std::function<void()> gone) {
    resized_ = std::move(resized);
    gone_ = std::move(gone);
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    // Events may have arrived before the notifier existed.
    readEvents();
}

void X11Parent::readEvents() {
    bool sizeChanged = false;
    bool isGone = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == static_cast<::Window>(windowId_)) {
            if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
                width_ = event.xconfigure.width;
                height_ = event.xconfigure.height;
                sizeChanged = true;
            }
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == static_cast<::Window>(windowId_)) {
            isGone = true;
        }
    }
    // Callbacks last: they may end the run and destroy this watcher.
    if (isGone) {
        if (gone_) gone_();
        return;
    }
    if (sizeChanged && resized_) resized_(width_, height_);
}

}  // namespace platform::saver
