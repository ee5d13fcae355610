// "BUTTON" with BS_OWNERDRAW: a button whose face the parent draws on the
// Canvas in WM_DRAWITEM.  The widget shows the button's client area
// through the hardware colours in force when it paints.
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "platform/gdi/gdi.h"
#include "platform/gdi/hardware_palette.h"
#include "platform/gdi/window_target.h"
#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/mouse.h"

namespace platform::dialog {

namespace {

class OwnerDrawButton;

class CanvasFace final : public QWidget {
public:
    explicit CanvasFace(QWidget* parent) : QWidget(parent) {}
    void setLink(WidgetBridge* link) { link_ = link; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

private:
    OwnerDrawButton* owner() const;
    WidgetBridge* link_ = nullptr;
};

class OwnerDrawButton final : public UiWindow {
public:
    explicit OwnerDrawButton(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        face_ = new CanvasFace(ParentWidget(params.parent));
        face_->setFocusPolicy(Qt::StrongFocus);
        text_ = SpecText(params.text);
        attachWidget(face_);
        face_->setLink(bridge());
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_MOUSEMOVE: return 0;
        case WM_LBUTTONUP: {
            const bool wasPressed = pressed_;
            ReleaseCapture();
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT client = clientRect();
            if (wasPressed && PtInRect(&client, point)) notifyParent(BN_CLICKED);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (pressed_) {
                pressed_ = false;
                drawItem(ODA_SELECT);
            }
            return 0;
        case BM_CLICK:
            if (isEnabled()) notifyParent(BN_CLICKED);
            return 0;
        default: return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        if (face_) face_->update();
    }

    // The press: the button takes the capture and shows itself pressed.
    void press(const QPoint& global) {
        NoteCursor(global);
        face_->setFocus(Qt::MouseFocusReason);
        SetCapture(handle());
        pressed_ = true;
        drawItem(ODA_SELECT);
    }

    // Asks the parent to draw the whole face, then shows it.
    void paint(QWidget* face) {
        drawItem(ODA_DRAWENTIRE);
        std::shared_ptr<gdi::Surface> surface = target()->surface();
        if (!surface) return;
        const gdi::HardwareColours colours = gdi::HardwareSnapshot();
        QImage image(surface->width, surface->height, QImage::Format_RGB32);
        {
            std::lock_guard lock(surface->mutex);
            for (int y = 0; y < surface->height; ++y) {
                gdi::ConvertIndexedToRgb32(surface->row(y), static_cast<std::size_t>(surface->width), colours.data(),
                                           reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
            }
        }
        QPainter painter(face);
        painter.drawImage(0, 0, image);
    }

private:
    void drawItem(UINT action) {
        HDC dc = GetDC(handle());
        if (!dc) return;
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(id());
        item.itemAction = action;
        item.itemState = (pressed_ ? ODS_SELECTED : 0) | (face_ && face_->hasFocus() ? ODS_FOCUS : 0) |
                         (isEnabled() ? 0 : ODS_DISABLED);
        item.hwndItem = handle();
        item.hDC = dc;
        item.rcItem = clientRect();
        sendToParent(WM_DRAWITEM, static_cast<WPARAM>(id()), reinterpret_cast<LPARAM>(&item));
        ReleaseDC(handle(), dc);
        if (action != ODA_DRAWENTIRE && face_) face_->update();
    }

    CanvasFace* face_ = nullptr;
    std::string text_;
    bool pressed_ = false;
};

OwnerDrawButton* CanvasFace::owner() const { return link_ ? static_cast<OwnerDrawButton*>(link_->owner) : nullptr; }

void CanvasFace::paintEvent(QPaintEvent*) {
    if (OwnerDrawButton* button = owner()) button->paint(this);
}

void CanvasFace::mousePressEvent(QMouseEvent* event) {
    OwnerDrawButton* button = owner();
    if (!button || event->button() != Qt::LeftButton) return;
    button->press(event->globalPosition().toPoint());
}

void CanvasFace::keyPressEvent(QKeyEvent* event) {
    OwnerDrawButton* button = owner();
    if (button && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        button->notifyParent(BN_CLICKED);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace

std::unique_ptr<UiWindow> CreateOwnerDrawButton(const ControlParams& params) {
    return std::make_unique<OwnerDrawButton>(params);
}

}  // namespace platform::dialog
