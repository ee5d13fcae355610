#include "platform/screensaver/saver_surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/gdi/gdi.h"
#include "platform/screensaver/keymap.h"
#include "platform/screensaver/screensaver.h"

namespace platform::saver {

namespace {

// The display's refresh, at which new pictures are looked for.
constexpr int kRefreshIntervalMs = 16;

LPARAM pointParam(const QPointF& position, qreal ratio) {
    QPoint p = (position * ratio).toPoint();
    return MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()));
}

WPARAM mouseKeys(Qt::MouseButtons buttons) {
    WPARAM keys = 0;
    if (buttons & Qt::LeftButton) keys |= 0x0001;
    if (buttons & Qt::RightButton) keys |= 0x0002;
    if (buttons & Qt::MiddleButton) keys |= 0x0010;
    return keys;
}

}  // namespace

SaverSurface::SaverSurface(HWND hwnd, std::shared_ptr<WindowPresenter> presenter)
    : hwnd_(hwnd), presenter_(std::move(presenter)) {
    refreshTimer_.setTimerType(Qt::PreciseTimer);
    refreshTimer_.setInterval(kRefreshIntervalMs);
    QObject::connect(&refreshTimer_, &QTimer::timeout, [this] { refresh(); });
    refreshTimer_.start();
}

SaverSurface::~SaverSurface() { refreshTimer_.stop(); }

void SaverSurface::refresh() {
    if (presenter_->takeChanges()) {
        pictureChanged_ = true;
        update();
    }
}

void SaverSurface::exposeEvent(QExposeEvent* event) {
    QRasterWindow::exposeEvent(event);
    if (!isExposed() || erased_) return;
    // The first expose is the window's first paint: the program starts its
    // drawing from the background erase.
    erased_ = true;
    HDC dc = GetDC(hwnd_);
    SendMessageA(hwnd_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd_, dc);
}

void SaverSurface::paintEvent(QPaintEvent*) {
    qreal ratio = devicePixelRatio();
    QSize pixels = size() * ratio;
    if (pixels.isEmpty()) return;
    if (image_.size() != pixels) {
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        pictureChanged_ = true;
    }
    if (pictureChanged_) {
        presenter_->render(reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
                           image_.bytesPerLine() / 4);
        pictureChanged_ = false;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), image_);
}

void SaverSurface::key(QKeyEvent* event, bool down) {
    WPARAM vk = VirtualKeyFromQt(event->key(), (event->modifiers() & Qt::KeypadModifier) != 0);
    // Alt combinations, Alt itself and F10 are system keys, as in Win32.
    bool alt = (event->modifiers() & Qt::AltModifier) || vk == VK_MENU;
    bool system = alt || vk == VK_F10;
    LPARAM lParam = 1 | ((static_cast<LPARAM>(event->nativeScanCode()) & 0xFF) << 16);
    if (alt) lParam |= LPARAM{1} << 29;
    if (event->isAutoRepeat() || !down) lParam |= LPARAM{1} << 30;
    if (!down) lParam |= LPARAM{1} << 31;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    PostMessageA(hwnd_, message, vk, lParam);
}

void SaverSurface::keyPressEvent(QKeyEvent* event) { key(event, true); }

void SaverSurface::keyReleaseEvent(QKeyEvent* event) { key(event, false); }

void SaverSurface::mouseMoveEvent(QMouseEvent* event) {
    PostMessageA(hwnd_, WM_MOUSEMOVE, mouseKeys(event->buttons()), pointParam(event->position(), devicePixelRatio()));
}

void SaverSurface::mousePressEvent(QMouseEvent* event) {
    UINT message;
    switch (event->button()) {
    case Qt::LeftButton: message = WM_LBUTTONDOWN; break;
    case Qt::RightButton: message = WM_RBUTTONDOWN; break;
    case Qt::MiddleButton: message = WM_MBUTTONDOWN; break;
    default: return;
    }
    PostMessageA(hwnd_, message, mouseKeys(event->buttons()), pointParam(event->position(), devicePixelRatio()));
}

void SaverSurface::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        PostMessageA(hwnd_, WM_ACTIVATEAPP, TRUE, 0);
        PostMessageA(hwnd_, WM_ACTIVATE, WA_ACTIVE, 0);
    } else {
        PostMessageA(hwnd_, WM_ACTIVATE, WA_INACTIVE, 0);
        PostMessageA(hwnd_, WM_ACTIVATEAPP, FALSE, 0);
    }
}

void SaverSurface::focusInEvent(QFocusEvent*) { setActive(true); }

void SaverSurface::focusOutEvent(QFocusEvent*) { setActive(false); }

bool SaverSurface::event(QEvent* event) {
    if (event->type() == QEvent::Close) {
        // The window system asks to close: the program decides, through
        // WM_CLOSE, whether and when the window goes.
        event->ignore();
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    return QRasterWindow::event(event);
}

}  // namespace platform::saver
