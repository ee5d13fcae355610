// "BUTTON": push buttons, check boxes, radio buttons (also push-like) and
// group boxes.  A click reaches the parent as BN_CLICKED; BM_SETCHECK
// notifies no one.  Check boxes and radio buttons without the AUTO style
// leave their state to the parent.  Radio buttons are grouped by the dialog
// (from one WS_GROUP control to the next).
#include <algorithm>
#include <vector>

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/text.h"

namespace platform::dialog {

namespace {

class ButtonControl final : public UiWindow {
public:
    explicit ButtonControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        QWidget* parent = ParentWidget(params.parent);
        kind_ = params.style & BS_TYPEMASK;
        bool pushLike = params.style & BS_PUSHLIKE;
        if (kind_ == BS_GROUPBOX) {
            group_ = new QGroupBox(parent);
            // Win32 draws the frame under its sibling controls, which are not
            // its children: it must not take their clicks.
            group_->setAttribute(Qt::WA_TransparentForMouseEvents);
            group_->setFocusPolicy(Qt::NoFocus);
            widget_ = group_;
        } else if (isCheck() || isRadio()) {
            if (pushLike) {
                auto* push = new QPushButton(parent);
                push->setCheckable(true);
                push->setAutoDefault(false);
                button_ = push;
            } else if (isCheck()) {
                button_ = new QCheckBox(parent);
            } else {
                button_ = new QRadioButton(parent);
            }
            // Grouping is the dialog's: Qt's own would join every radio
            // button of the page.
            button_->setAutoExclusive(false);
            widget_ = button_;
        } else {
            auto* push = new QPushButton(parent);
            if (kind_ == BS_DEFPUSHBUTTON) push->setDefault(true);
            button_ = push;
            widget_ = button_;
        }
        widget_->setFont(params.font);
        setText(SpecText(params.text));
        attachWidget(widget_);
        if (button_) {
            WidgetBridge* link = bridge();
            QObject::connect(button_, &QAbstractButton::clicked, link, [link](bool checked) {
                if (auto* self = static_cast<ButtonControl*>(link->owner)) self->clicked(checked);
            });
        }
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case BM_GETCHECK:
            return button_ && button_->isCheckable() && button_->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            if (button_ && button_->isCheckable()) setChecked(wParam == BST_CHECKED);
            return 0;
        case BM_CLICK:
            if (button_ && button_->isEnabled()) button_->click();
            return 0;
        default:
            return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        if (group_) group_->setTitle(ToQt(text));
        if (button_) button_->setText(ToQt(text));
    }

    bool isLabel() const override { return group_ != nullptr; }
    void setMnemonicTarget(UiWindow* target) override { mnemonicTarget_ = target ? target->handle() : nullptr; }

    // A group box's mnemonic gives the focus to the control after it; the
    // arrow keys move through a group of radio buttons.
    bool widgetEvent(QObject* watched, QEvent* event) override {
        if (group_ && watched == group_ && event->type() == QEvent::Shortcut) {
            if (UiWindow* target = UiWindow::fromHandle(mnemonicTarget_))
                if (QWidget* focus = target->focusWidget()) focus->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        if (isRadio() && watched == button_ && event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Left) return moveInGroup(-1);
            if (key == Qt::Key_Down || key == Qt::Key_Right) return moveInGroup(1);
        }
        return false;
    }

    bool isRadioButton() const { return isRadio(); }
    QAbstractButton* button() const { return button_; }

private:
    bool isCheck() const { return kind_ == BS_CHECKBOX || kind_ == BS_AUTOCHECKBOX; }
    bool isRadio() const { return kind_ == BS_RADIOBUTTON || kind_ == BS_AUTORADIOBUTTON; }
    bool isAuto() const { return kind_ == BS_AUTOCHECKBOX || kind_ == BS_AUTORADIOBUTTON; }

    void setChecked(bool checked) {
        QSignalBlocker quiet(button_);
        button_->setChecked(checked);
    }

    void clicked(bool checked) {
        if (isCheck() || isRadio()) {
            if (!isAuto()) {
                setChecked(!checked);  // the parent decides
            } else if (isRadio()) {
                setChecked(true);  // a click never clears an automatic radio button
                uncheckSiblings();
            }
        }
        notifyParent(BN_CLICKED);
    }

    // A radio button's group: the controls from the WS_GROUP before it to
    // the next WS_GROUP.
    std::vector<ButtonControl*> groupRadios();
    // An automatic radio button clears the others of its group.
    void uncheckSiblings();
    bool moveInGroup(int step);

    DWORD kind_;
    QWidget* widget_ = nullptr;
    QAbstractButton* button_ = nullptr;
    QGroupBox* group_ = nullptr;
    std::string text_;
    HWND mnemonicTarget_ = nullptr;
};

std::vector<ButtonControl*> ButtonControl::groupRadios() {
    std::vector<ButtonControl*> radios;
    UiWindow* parent = UiWindow::fromHandle(this->parent());
    if (!parent) return radios;
    const auto& siblings = parent->children();
    std::size_t self = 0;
    while (self < siblings.size() && siblings[self].get() != this) ++self;
    if (self == siblings.size()) return radios;
    std::size_t first = self;
    while (first > 0 && !(siblings[first]->style() & WS_GROUP)) --first;
    std::size_t last = self + 1;
    while (last < siblings.size() && !(siblings[last]->style() & WS_GROUP)) ++last;
    for (std::size_t i = first; i < last; ++i)
        if (auto* radio = dynamic_cast<ButtonControl*>(siblings[i].get()); radio && radio->isRadioButton())
            radios.push_back(radio);
    return radios;
}

void ButtonControl::uncheckSiblings() {
    for (ButtonControl* other : groupRadios()) {
        if (other == this || !other->button()->isChecked()) continue;
        QSignalBlocker quiet(other->button());
        other->button()->setChecked(false);
    }
}

bool ButtonControl::moveInGroup(int step) {
    std::vector<ButtonControl*> radios = groupRadios();
    auto self = std::find(radios.begin(), radios.end(), this);
    if (self == radios.end()) return false;
    int count = static_cast<int>(radios.size());
    int index = static_cast<int>(self - radios.begin());
    for (int tried = 1; tried < count; ++tried) {
        int next = ((index + step * tried) % count + count) % count;
        ButtonControl* target = radios[static_cast<std::size_t>(next)];
        if (!target->isEnabled() || !target->isVisible()) continue;
        target->button()->setFocus(Qt::TabFocusReason);
        if (target->isAuto()) target->button()->click();
        return true;
    }
    return true;
}

}  // namespace

std::unique_ptr<UiWindow> CreateButtonControl(const ControlParams& params) {
    if ((params.style & BS_TYPEMASK) == BS_OWNERDRAW) return CreateOwnerDrawButton(params);
    return std::make_unique<ButtonControl>(params);
}

}  // namespace platform::dialog
