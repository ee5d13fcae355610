#include "platform/screensaver/saver_window.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/gdi/gdi.h"
#include "platform/screensaver/saver_surface.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/x11_parent.h"

namespace platform::saver {

std::unique_ptr<SaverWindow> SaverWindow::Create(unsigned long parentId, bool preview, std::string* error) {
    int width = 0;
    int height = 0;
    std::unique_ptr<X11Parent> parent;
    if (parentId != 0) {
        // Qt joins a window of another program only through its X11 plug-in.
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            if (error) *error = "a window of another program can be joined only on X11";
            return nullptr;
        }
        parent = X11Parent::Open(parentId, error);
        if (!parent) return nullptr;
        width = parent->width();
        height = parent->height();
    } else {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) {
            if (error) *error = "no screen";
            return nullptr;
        }
        QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
        width = pixels.width();
        height = pixels.height();
    }
    auto presenter = std::make_shared<WindowPresenter>();
    return std::unique_ptr<SaverWindow>(new SaverWindow(width, height, presenter, std::move(parent), preview));
}

SaverWindow::SaverWindow(int width, int height, std::shared_ptr<WindowPresenter> presenter,
                         std::unique_ptr<X11Parent> parent, bool preview)
    : Window(width, height, presenter, CS_OWNDC), parent_(std::move(parent)), preview_(preview) {
    surface_ = std::make_unique<SaverSurface>(this, std::move(presenter));
    surface_->setTitle(QStringLiteral("WindowsScreenSaverClass"));
    if (parent_) {
        QWindow* host = QWindow::fromWinId(static_cast<WId>(parent_->windowId()));
        surface_->setParent(host);
        surface_->setGeometry(0, 0, width, height);
        parent_->watch([this](int w, int h) { parentResized(w, h); },
                       [this] { DestroyWindow(this); });
    } else {
        surface_->setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        surface_->setGeometry(QGuiApplication::primaryScreen()->geometry());
    }
}

SaverWindow::~SaverWindow() {
    // No hook or message may reach a half-destroyed window.
    detach();
    if (surface_) {
        QWindow* host = surface_->parent();
        surface_.reset();
        if (parent_) delete host;  // the foreign wrapper; the host's window itself stays
    }
}

void SaverWindow::show() {
    if (parent_) {
        surface_->show();
        return;
    }
    surface_->showFullScreen();
    surface_->requestActivate();
}

void SaverWindow::parentResized(int width, int height) {
    surface_->setGeometry(0, 0, width, height);
    resizeClient(width, height);
    SendMessageA(this, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
}

}  // namespace platform::saver
