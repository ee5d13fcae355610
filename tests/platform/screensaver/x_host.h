#pragma once
// An X server of the test's own and X windows standing in for a preview's
// host.  Kept apart from the platform headers: Xlib's names clash with them.
#include <string>
#include <sys/types.h>

namespace xhost {

// Xvfb on a display number nobody uses.  start() fails (with the reason)
// when Xvfb is not installed or does not come up.
class Xvfb {
public:
    ~Xvfb();
    bool start(int width, int height, std::string* why);
    void stop();
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// On the display named by DISPLAY.  Windows are mapped, top level.
unsigned long CreateHostWindow(int width, int height);
void ResizeHostWindow(unsigned long window, int width, int height);
void DestroyHostWindow(unsigned long window);
// The colour shown at a point of the root window, as 0xRRGGBB.
unsigned long ScreenPixel(int x, int y);

}  // namespace xhost
