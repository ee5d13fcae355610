#include "platform/screensaver/x11_error_trap.h"

#include <X11/Xlib.h>
#include <atomic>

namespace platform::saver {

namespace {

std::atomic<int> lastError{0};

int recordError(Display*, XErrorEvent* event) {
    lastError = event->error_code;
    return 0;
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    lastError = 0;
    previous_ = reinterpret_cast<void (*)()>(XSetErrorHandler(recordError));
}

ErrorTrap::~ErrorTrap() { XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_)); }

bool ErrorTrap::failed() {
    XSync(display_, False);
    return lastError != 0;
}

}  // namespace platform::saver
