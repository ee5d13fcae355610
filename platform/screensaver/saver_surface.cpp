#include "platform/screensaver/saver_surface.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>

#include "platform/gdi/gdi.h"
#include "platform/screensaver/keymap.h"
#include "platform/screensaver/mouse_origin.h"
#include "platform/screensaver/screensaver.h"

namespace platform::saver {

namespace {

// The display's refresh, at which new pictures are looked for.
constexpr int kRefreshIntervalMs = 16;

// Pixels written into Qt images are opaque (an alpha store is
// premultiplied, where opaque is the colour itself with alpha 255).
constexpr std::uint32_t Opaque = 0xFF000000u;

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
    : hwnd_(hwnd), presenter_(std::move(presenter)), backingStore_(this) {
    setSurfaceType(QSurface::RasterSurface);
    refreshTimer_.setTimerType(Qt::PreciseTimer);
    refreshTimer_.setInterval(kRefreshIntervalMs);
    QObject::connect(&refreshTimer_, &QTimer::timeout, [this] { refresh(); });
    refreshTimer_.start();
}

SaverSurface::~SaverSurface() { refreshTimer_.stop(); }

void SaverSurface::refresh() {
    if (presenter_->takeChanges()) {
        pictureChanged_ = true;
        renderNow();
    }
}

void SaverSurface::exposeEvent(QExposeEvent*) {
    if (!isExposed()) return;
    if (!erased_) {
        // The first expose is the window's first paint: the program starts
        // its drawing from the background erase.
        erased_ = true;
        HDC dc = GetDC(hwnd_);
        SendMessageA(hwnd_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hwnd_, dc);
    }
    // An expose may mean lost pixels: everything is sent again.
    pictureChanged_ = true;
    storeFilled_ = false;
    renderNow();
}

void SaverSurface::resizeEvent(QResizeEvent* event) {
    backingStore_.resize(event->size());
    storeFilled_ = false;
    pictureChanged_ = true;
    if (isExposed()) renderNow();
}

void SaverSurface::renderNow() {
    if (!isExposed() || !pictureChanged_) return;
    const QRect area(QPoint(0, 0), size());
    if (area.isEmpty()) return;
    if (backingStore_.size() != area.size()) {
        backingStore_.resize(area.size());
        storeFilled_ = false;
    }
    backingStore_.beginPaint(area);
    QPaintDevice* device = backingStore_.paintDevice();
    auto* store = device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    QRegion changed(area);
    const QImage::Format format = store ? store->format() : QImage::Format_Invalid;
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied) {
        // The store keeps its pixels between paints: while the colours stay,
        // only the tiles the drawing changed are converted and sent.
        const auto& written = presenter_->render(reinterpret_cast<std::uint32_t*>(store->bits()), store->width(),
                                                 store->height(), store->bytesPerLine() / 4, storeFilled_, Opaque);
        storeFilled_ = true;
        const qreal ratio = store->devicePixelRatio();
        changed = QRegion();
        for (const RECT& r : written) {
            const QPoint topLeft(static_cast<int>(r.left / ratio), static_cast<int>(r.top / ratio));
            const QPoint bottomRight(static_cast<int>((r.right + ratio - 1) / ratio),
                                     static_cast<int>((r.bottom + ratio - 1) / ratio));
            changed += QRect(topLeft, bottomRight - QPoint(1, 1));
        }
    } else {
        // Another kind of store: convert into our own image and let Qt
        // draw that.
        const QSize pixels = area.size() * devicePixelRatio();
        if (image_.size() != pixels) image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(devicePixelRatio());
        presenter_->render(reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
                           image_.bytesPerLine() / 4, false, Opaque);
        QPainter painter(device);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), image_);
    }
    backingStore_.endPaint();
    if (!changed.isEmpty()) backingStore_.flush(changed);
    pictureChanged_ = false;
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
    if (event->type() == QEvent::Enter) {
        const QPoint p = (static_cast<QEnterEvent*>(event)->position() * devicePixelRatio()).toPoint();
        NoteMouseEntry(hwnd_, POINT{p.x(), p.y()});
        // On Wayland the pointer's image is set anew on each entry; a
        // hidden cursor set before the window existed may not be the one
        // sent then.
        if (cursor().shape() == Qt::BlankCursor) {
            unsetCursor();
            setCursor(Qt::BlankCursor);
        }
    }
    if (event->type() == QEvent::Close) {
        // The window system asks to close: the program decides, through
        // WM_CLOSE, whether and when the window goes.
        event->ignore();
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    return QWindow::event(event);
}

}  // namespace platform::saver
