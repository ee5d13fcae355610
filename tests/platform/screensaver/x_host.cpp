#include "x_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace xhost {

namespace {

// One connection for the helpers below, opened on first use.
Display* connection() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

}  // namespace

unsigned long CreateHostWindow(int width, int height) {
    Display* d = connection();
    if (!d) return 0;
    ::Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, static_cast<unsigned>(width),
                                          static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(d, window);
    XSync(d, False);
    return window;
}

void ResizeHostWindow(unsigned long window, int width, int height) {
    Display* d = connection();
    XResizeWindow(d, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(d, False);
}

void DestroyHostWindow(unsigned long window) {
    Display* d = connection();
    XDestroyWindow(d, window);
    XSync(d, False);
}

unsigned long ScreenPixel(int x, int y) {
    Display* d = connection();
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFFul;
    unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
    XDestroyImage(image);
    return pixel;
}

}  // namespace xhost
