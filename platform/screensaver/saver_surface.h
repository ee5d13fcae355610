#pragma once
// The Qt side of the saver window: paints the presenter's picture and posts
// input and activation as window messages.
#include <QImage>
#include <QRasterWindow>
#include <QTimer>
#include <memory>

#include "platform/screensaver/window_presenter.h"
#include "platform/types.h"

namespace platform::saver {

class SaverSurface final : public QRasterWindow {
public:
    SaverSurface(HWND hwnd, std::shared_ptr<WindowPresenter> presenter);
    ~SaverSurface() override;

protected:
    void exposeEvent(QExposeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
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

    HWND hwnd_;
    std::shared_ptr<WindowPresenter> presenter_;
    QTimer refreshTimer_;
    QImage image_;
    bool pictureChanged_ = true;
    bool erased_ = false;
    bool active_ = false;
};

}  // namespace platform::saver
