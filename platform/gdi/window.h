#pragma once
// Windows as the Canvas sees them: a client area of 8-bit hardware palette
// indices, a class style (CS_OWNDC gives the window one private DC shared by
// every GetDC), and the presenter that shows what GdiFlush publishes.  The
// window system kinds (offscreen now, Qt/X11 later) derive from Window.
#include <memory>

#include "platform/gdi/presenter.h"
#include "platform/types.h"

namespace gdi {
struct WindowTarget;  // the client area and the DCs of one window
}

struct Window {
    Window(int width, int height, std::shared_ptr<gdi::Presenter> presenter, UINT classStyle);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    RECT clientRect() const;
    UINT classStyle() const { return classStyle_; }
    const std::shared_ptr<gdi::Presenter>& presenter() const { return presenter_; }

    // Gives the client area a new size; its pixels start black.  DCs already
    // obtained draw on the new area from their next call.
    void resizeClient(int width, int height);

    // Hooks for the window system: called after GdiFlush published a frame
    // (on the flushing thread) and after new hardware colours were published
    // (on the thread that animated or realised the palette).  They run while
    // the window list is locked for reading: they must be quick and must not
    // create or destroy windows.
    virtual void framePublished() {}
    virtual void palettePublished() {}

    // SetWindowPos's Z order: the window goes right after `insertAfter`
    // among its siblings (first for HWND_TOP, last for HWND_BOTTOM).  Only
    // windows with siblings, such as dialog controls, have an order to keep;
    // the others accept it and ignore it.  FALSE when `insertAfter` is not a
    // sibling.
    virtual BOOL placeAfter(Window* /*insertAfter*/) { return TRUE; }

    const std::shared_ptr<gdi::WindowTarget>& target() const { return target_; }

protected:
    // Stops the hooks and makes the handle stale.  A derived class calls it
    // first in its destructor, so no hook runs on a half-destroyed window;
    // ~Window calls it too.
    void detach();

private:
    UINT classStyle_;
    std::shared_ptr<gdi::Presenter> presenter_;
    std::shared_ptr<gdi::WindowTarget> target_;
};

namespace platform {

// A window without a window system: its Canvas is shown only through the
// presenter.  The class has a private DC (CS_OWNDC), like the saver window.
HWND CreateOffscreenWindow(int width, int height, std::shared_ptr<gdi::Presenter> presenter);
void DestroyOffscreenWindow(HWND window);

// The screen size GetSystemMetrics and GetDeviceCaps report; until set, the
// size of the first window created (640 x 480 before any window exists).
void SetScreenSize(int width, int height);

}  // namespace platform
