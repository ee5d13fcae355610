// The X side of FindWindowA: windows of every client on the display, and
// the close request a window manager sends.  Kept apart from the platform's
// types, whose `Window` Xlib's own would clash with.
#include "platform/screensaver/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <strings.h>
#include <vector>

#include "platform/screensaver/x11_error_trap.h"

namespace platform::saver {
namespace {

bool Same(const char* wanted, const char* actual) { return actual && strcasecmp(wanted, actual) == 0; }

std::string Title(Display* display, XID window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data && type == utf8 && format == 8)
        title.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) title = name;
    if (name) XFree(name);
    return title;
}

bool ClassMatches(Display* display, XID window, const char* className) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    bool match = Same(className, hint.res_class) || Same(className, hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    if (hint.res_name) XFree(hint.res_name);
    return match;
}

// Depth first from the root: window managers put the programs' windows
// inside frames of their own.
XID Search(Display* display, XID root, const char* className, const char* windowName) {
    std::vector<XID> pending{root};
    while (!pending.empty()) {
        XID window = pending.back();
        pending.pop_back();
        if (window != root && (!className || ClassMatches(display, window, className)) &&
            (!windowName || Same(windowName, Title(display, window).c_str())))
            return window;
        XID rootReturn = 0;
        XID parent = 0;
        XID* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) continue;
        for (unsigned int i = count; i-- > 0;) pending.push_back(children[i]);
        if (children) XFree(children);
    }
    return 0;
}

}  // namespace

unsigned long FindX11Window(const char* className, const char* windowName) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    XID found;
    {
        ErrorTrap trap(display);
        found = Search(display, DefaultRootWindow(display), className, windowName);
        trap.failed();
    }
    XCloseDisplay(display);
    return found;
}

bool CloseX11Window(unsigned long id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool sent;
    {
        ErrorTrap trap(display);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sent = XSendEvent(display, id, False, NoEventMask, &event) != 0;
        sent = !trap.failed() && sent;
    }
    XCloseDisplay(display);
    return sent;
}

}  // namespace platform::saver
