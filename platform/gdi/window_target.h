#pragma once
// What the Canvas keeps of a window: its client area, its presenter and its
// private DC.  DCs hold the target, not the Window, so a DC outliving its
// window draws harmlessly on the orphaned area.
#include <memory>
#include <mutex>

#include "platform/gdi/presenter.h"
#include "platform/gdi/surface.h"
#include "platform/types.h"

namespace gdi {

struct WindowTarget {
    std::shared_ptr<Presenter> presenter;  // null for the screen
    UINT classStyle = 0;

    std::shared_ptr<Surface> surface() const {
        std::lock_guard lock(mutex);
        return surface_;
    }
    void setSurface(std::shared_ptr<Surface> s) {
        std::lock_guard lock(mutex);
        surface_ = std::move(s);
    }

    mutable std::mutex mutex;  // surface_ and privateDC
    HDC privateDC = nullptr;   // CS_OWNDC: the one DC, created by the first GetDC

private:
    std::shared_ptr<Surface> surface_;
};

// Publishes the hardware colours now in force to the window's presenter.
void PublishPalette(const std::shared_ptr<WindowTarget>& target);

// The screen size of GetSystemMetrics and GetDeviceCaps.
SIZE ScreenSize();

}  // namespace gdi
