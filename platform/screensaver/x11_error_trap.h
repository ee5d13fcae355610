#pragma once
// Xlib's default error handler ends the process.  Requests about windows of
// other clients (a preview's host, a window found by its title) may name a
// window that is already gone, so their errors are caught around them.
typedef struct _XDisplay Display;

namespace platform::saver {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    // Waits for the server's answer to everything sent so far.
    bool failed();

private:
    Display* display_;
    // Xlib's XErrorHandler, kept without Xlib's header (its `Window` type
    // would clash with ours).
    void (*previous_)();
};

}  // namespace platform::saver
