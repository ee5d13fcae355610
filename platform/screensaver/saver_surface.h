#pragma once
// The Qt side of the saver window: paints the presenter's picture and posts
// input and activation as window messages.  The picture is converted
// straight into the window's backing store (shared memory with the X server
// where it offers it), so a frame is written once on its way to the screen.
#include <QBackingStore>
#include <QImage>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "platform/screensaver/window_presenter.h"
#include "platform/types.h"

namespace platform::saver {

class SaverSurface final : public QWindow {
public:
    SaverSurface(HWND hwnd, std::shared_ptr<WindowPresenter> presenter);
    ~SaverSurface() override;

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void key(QKeyEvent* event, bool down);
    void setActive(bool active);
    void refresh();
    // Puts the presenter's picture into the backing store and shows it.
    void renderNow();

    HWND hwnd_;
    std::shared_ptr<WindowPresenter> presenter_;
    QTimer refreshTimer_;
    QBackingStore backingStore_;
    // The picture where the backing store is not an RGB32 image.
    QImage image_;
    bool pictureChanged_ = true;
    bool storeFilled_ = false;  // the store holds the whole picture taken last
    bool erased_ = false;
    bool active_ = false;
};

}  // namespace platform::saver
