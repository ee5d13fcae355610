#pragma once
// The saver window: a Canvas window (gdi Window, private DC) shown by a Qt
// window, full screen or inside another X window, that turns Qt's input and
// window events into messages for its procedure.
#include <memory>
#include <string>

#include "platform/gdi/window.h"
#include "platform/screensaver/window_presenter.h"

namespace platform::saver {

class SaverSurface;
class X11Parent;

class SaverWindow final : public Window {
public:
    // parentId 0: full screen; otherwise inside that X window, following its
    // size.  `preview`: input belongs to the host (DefScreenSaverProc leaves
    // it alone).  Null with `error` set when the parent cannot be used.
    static std::unique_ptr<SaverWindow> Create(unsigned long parentId, bool preview, std::string* error);
    ~SaverWindow() override;

    void show();
    bool fullScreen() const { return !parent_; }
    bool preview() const { return preview_; }
    // The Qt window, for tests.
    SaverSurface* surface() const { return surface_.get(); }

private:
    SaverWindow(int width, int height, std::shared_ptr<WindowPresenter> presenter,
                std::unique_ptr<X11Parent> parent, bool preview);
    void parentResized(int width, int height);

    std::unique_ptr<X11Parent> parent_;
    bool preview_;
    std::unique_ptr<SaverSurface> surface_;
};

}  // namespace platform::saver
