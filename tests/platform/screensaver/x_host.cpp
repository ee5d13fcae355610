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

// The named windows' own connection: their server may end before the test
// program does, and the connection with it.
Display* namedConnection = nullptr;

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

unsigned long CreateNamedWindow(const char* title, const char* className) {
    if (!namedConnection) namedConnection = XOpenDisplay(nullptr);
    Display* d = namedConnection;
    if (!d) return 0;
    ::Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 40, 20, 0, 0, 0);
    XStoreName(d, window, title);
    XClassHint hint{};
    char instance[] = "vexdock";
    hint.res_name = instance;
    hint.res_class = const_cast<char*>(className);
    XSetClassHint(d, window, &hint);
    Atom close = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, window, &close, 1);
    XMapWindow(d, window);
    XSync(d, False);
    return window;
}

bool CloseRequested(unsigned long window) {
    Display* d = namedConnection;
    XSync(d, False);
    XEvent event;
    Atom close = XInternAtom(d, "WM_DELETE_WINDOW", False);
    while (XCheckTypedWindowEvent(d, window, ClientMessage, &event))
        if (static_cast<Atom>(event.xclient.data.l[0]) == close) return true;
    return false;
}

void EndNamedWindows() {
    if (namedConnection) XCloseDisplay(namedConnection);
    namedConnection = nullptr;
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
