#pragma once
// A plain X window to host a preview (Xlib stays inside x_window.cpp: its
// macros clash with everything else).
#include <memory>
#include <string>

namespace runtimetest {

class XWindow {
public:
    XWindow(const std::string& display, int width, int height);
    ~XWindow();
    XWindow(const XWindow&) = delete;
    XWindow& operator=(const XWindow&) = delete;

    bool valid() const { return id_ != 0; }
    unsigned long id() const { return id_; }
    void resize(int width, int height);
    // The size of the first viewable child window, if there is one.
    bool childSize(int* width, int* height);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
    unsigned long id_ = 0;
};

}  // namespace runtimetest
