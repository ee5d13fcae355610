#pragma once
// A Wayland compositor of a test's own: weston with its X11 back end, drawing
// into a window of the test's Xvfb.  Input reaches it through that X server
// (xdotool) and its output can be taken from there (import), which weston's
// headless back end, without input devices, could not offer.  Ended with the
// object (and with the test process, should it crash).
#include <memory>
#include <string>
#include <sys/types.h>

#include "support/temp_dir.h"

namespace testsupport {

class Weston {
public:
    Weston() = default;
    ~Weston();
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    static bool Installed();
    // Fills the X display with one output of width x height.  False, with
    // the reason and weston's own last words, when weston is not installed
    // or does not come up.
    bool start(const std::string& xDisplay, int width, int height, std::string* why);
    void stop();
    // What a client needs to reach it: XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
    std::string runtimeDir() const { return runtime_ ? runtime_->str() : std::string(); }
    const std::string& socket() const { return socket_; }

private:
    pid_t pid_ = -1;
    // mkdtemp's 0700, as Wayland clients expect of XDG_RUNTIME_DIR.
    std::unique_ptr<TempDir> runtime_;
    std::string socket_;
};

}  // namespace testsupport
