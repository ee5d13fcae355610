#pragma once
// Watches a window of another client (the preview's host) for size changes
// and its end, over a connection of our own.
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
typedef struct _XDisplay Display;

namespace platform::saver {

class X11Parent {
public:
    // Null with `error` set when there is no X display or no such window.
    static std::unique_ptr<X11Parent> Open(unsigned long windowId, std::string* error);
    ~X11Parent();
    X11Parent(const X11Parent&) = delete;
    X11Parent& operator=(const X11Parent&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned long windowId() const { return windowId_; }

    // Called on the window thread when the window changed size or is gone.
    void watch(std::function<void(int width, int height)> resized, std::function<void()> gone);

private:
    X11Parent(Display* display, unsigned long windowId, int width, int height);
    void readEvents();

    Display* display_;
    unsigned long windowId_;
    int width_;
    int height_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(int, int)> resized_;
    std::function<void()> gone_;
};

}  // namespace platform::saver
