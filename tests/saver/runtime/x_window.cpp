#include "x_window.h"

#include <X11/Xlib.h>

namespace runtimetest {

struct XWindow::Connection {
    Display* display = nullptr;
};

XWindow::XWindow(const std::string& display, int width, int height) : connection_(std::make_unique<Connection>()) {
    connection_->display = XOpenDisplay(display.c_str());
    if (!connection_->display) return;
    Display* d = connection_->display;
    id_ = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(d, id_);
    XSync(d, False);
}

XWindow::~XWindow() {
    if (!connection_->display) return;
    if (id_) XDestroyWindow(connection_->display, id_);
    XCloseDisplay(connection_->display);
}

void XWindow::resize(int width, int height) {
    XResizeWindow(connection_->display, id_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(connection_->display, False);
}

bool XWindow::childSize(int* width, int* height) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    bool found = false;
    if (XQueryTree(connection_->display, id_, &root, &parent, &children, &count) && count > 0) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(connection_->display, children[0], &attributes) &&
            attributes.map_state == IsViewable) {
            *width = attributes.width;
            *height = attributes.height;
            found = true;
        }
    }
    if (children) XFree(children);
    return found;
}

}  // namespace runtimetest
