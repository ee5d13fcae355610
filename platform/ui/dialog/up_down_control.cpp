// UPDOWN_CLASSA: a pair of arrow buttons, usually beside a buddy edit.
#include <algorithm>

#include <QEvent>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QWidget>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/text.h"

namespace platform::dialog {

namespace {

// Width Windows gives an up-down created without one.
constexpr int DefaultWidth = 16;

// An up-down that is a tab stop of its own (WS_TABSTOP) shows the focus
// round its arrows.
class ArrowBox final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!hasFocus()) return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
};

class UpDownControl final : public UiWindow {
public:
    explicit UpDownControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        horizontal_ = params.style & UDS_HORZ;
        box_ = new ArrowBox(ParentWidget(params.parent));
        bool tabStop = params.style & WS_TABSTOP;
        box_->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::NoFocus);
        QBoxLayout* layout = horizontal_ ? static_cast<QBoxLayout*>(new QHBoxLayout(box_)) : new QVBoxLayout(box_);
        int margin = tabStop ? 1 : 0;
        layout->setContentsMargins(margin, margin, margin, margin);
        layout->setSpacing(0);
        increase_ = arrow(horizontal_ ? Qt::RightArrow : Qt::UpArrow);
        decrease_ = arrow(horizontal_ ? Qt::LeftArrow : Qt::DownArrow);
        layout->addWidget(horizontal_ ? decrease_ : increase_);
        layout->addWidget(horizontal_ ? increase_ : decrease_);
        attachWidget(box_);
        WidgetBridge* link = bridge();
        QObject::connect(increase_, &QToolButton::clicked, link, [link] {
            if (auto* self = static_cast<UpDownControl*>(link->owner)) self->press(true);
        });
        QObject::connect(decrease_, &QToolButton::clicked, link, [link] {
            if (auto* self = static_cast<UpDownControl*>(link->owner)) self->press(false);
        });
        if (params.style & UDS_AUTOBUDDY) {
            UiWindow* parent = UiWindow::fromHandle(params.parent);
            if (parent && !parent->children().empty()) setBuddy(parent->children().back().get());
        }
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case UDM_SETRANGE:
            upper_ = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
            lower_ = static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam)));
            position_ = clamped(position_);
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(upper_), static_cast<WORD>(lower_));
        case UDM_SETPOS: {
            int old = position_;
            position_ = clamped(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))));
            writeBuddy();
            return old;
        }
        case UDM_GETPOS:
            return MAKELONG(static_cast<WORD>(position_), 0);
        case UDM_SETBUDDY: {
            HWND old = buddy_;
            setBuddy(UiWindow::fromHandle(reinterpret_cast<HWND>(wParam)));
            return reinterpret_cast<LRESULT>(old);
        }
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(buddy_);
        default:
            return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return {}; }
    void setText(const std::string&) override {}

    // The buddy's Up and Down keys press the arrows (UDS_ARROWKEYS), and so
    // do the arrow keys of an up-down that takes the focus itself.
    bool widgetEvent(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        if (watched == box_ ? !(style() & WS_TABSTOP) : !(style() & UDS_ARROWKEYS)) return false;
        int key = static_cast<QKeyEvent*>(event)->key();
        if (horizontal_ && watched == box_ && (key == Qt::Key_Left || key == Qt::Key_Right))
            key = key == Qt::Key_Right ? Qt::Key_Up : Qt::Key_Down;
        if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
        if (isEnabled()) press(key == Qt::Key_Up);
        return true;
    }

private:
    QToolButton* arrow(Qt::ArrowType type) {
        auto* button = new QToolButton(box_);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        return button;
    }

    int clamped(int position) const {
        int low = std::min(lower_, upper_);
        int high = std::max(lower_, upper_);
        return std::clamp(position, low, high);
    }

    // With the upper limit below the lower one the arrows swap, as on Windows.
    void press(bool up) {
        int delta = (up ? 1 : -1) * (upper_ < lower_ ? -1 : 1);
        NMUPDOWN change{};
        change.hdr.hwndFrom = handle();
        change.hdr.idFrom = static_cast<UINT_PTR>(id());
        change.hdr.code = UDN_DELTAPOS;
        change.iPos = position_;
        change.iDelta = delta;
        if (sendToParent(WM_NOTIFY, static_cast<WPARAM>(id()), reinterpret_cast<LPARAM>(&change)) != 0) return;
        int low = std::min(lower_, upper_);
        int high = std::max(lower_, upper_);
        int next = position_ + change.iDelta;
        if (style() & UDS_WRAP)
            next = next > high ? low : next < low ? high : next;
        position_ = std::clamp(next, low, high);
        writeBuddy();
        UINT scroll = horizontal_ ? WM_HSCROLL : WM_VSCROLL;
        sendToParent(scroll, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position_)), reinterpret_cast<LPARAM>(handle()));
        sendToParent(scroll, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(position_)), reinterpret_cast<LPARAM>(handle()));
    }

    void writeBuddy() {
        if (!(style() & UDS_SETBUDDYINT)) return;
        if (UiWindow* buddy = UiWindow::fromHandle(buddy_)) {
            std::string text = std::to_string(position_);
            SendMessageA(buddy->handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

    // An aligned up-down takes its place at the buddy's edge, inside the
    // buddy's old rectangle, and is as tall as the buddy.
    void setBuddy(UiWindow* buddy) {
        if (UiWindow* old = UiWindow::fromHandle(buddy_); old && old->focusWidget())
            old->focusWidget()->removeEventFilter(bridge());
        buddy_ = buddy ? buddy->handle() : nullptr;
        if (!buddy) return;
        if (QWidget* focus = buddy->focusWidget()) focus->installEventFilter(bridge());
        if (!(style() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
        QRect area = buddy->geometry();
        int width = geometry().width() > 1 ? std::min(geometry().width(), area.width() / 2) : DefaultWidth;
        QRect mine(area.left(), area.top(), width, area.height());
        QRect rest = area.adjusted(width, 0, 0, 0);
        if (style() & UDS_ALIGNRIGHT) {
            mine.moveLeft(area.right() - width + 1);
            rest = area.adjusted(0, 0, -width, 0);
        }
        buddy->setGeometry(rest);
        setGeometry(mine);
        writeBuddy();
    }

    QWidget* box_;
    QToolButton* increase_;
    QToolButton* decrease_;
    bool horizontal_ = false;
    HWND buddy_ = nullptr;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
};

}  // namespace

std::unique_ptr<UiWindow> CreateUpDownControl(const ControlParams& params) { return std::make_unique<UpDownControl>(params); }

}  // namespace platform::dialog
