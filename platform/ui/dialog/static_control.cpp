// "STATIC": text (left, centred or right), an icon, or the caption of a
// control that follows it and takes the focus for its mnemonic.
#include <QEvent>
#include <QLabel>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/icon.h"
#include "platform/ui/dialog/text.h"


namespace platform::dialog {

namespace {

// Win32 draws an icon static at the icon's size.
constexpr int IconSize = 32;

class StaticControl final : public UiWindow {
public:
    explicit StaticControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        label_ = new QLabel(ParentWidget(params.parent));
        label_->setFont(params.font);
        label_->setTextFormat(Qt::PlainText);
        label_->setFocusPolicy(Qt::NoFocus);
        if (params.style & SS_SUNKEN || params.exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE))
            label_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        DWORD kind = params.style & SS_TYPEMASK;
        if (kind == SS_ICON) {
            isIcon_ = true;
            if (params.text && IS_INTRESOURCE(params.text)) showIcon(LoadIconA(nullptr, params.text));
        } else {
            Qt::Alignment horizontal = kind == SS_CENTER ? Qt::AlignHCenter : kind == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
            // Text wraps at word breaks when the control has room for more
            // than one line; a one-line label keeps its text on its line.
            bool roomForLines = params.geometry.height() >= 2 * label_->fontMetrics().height();
            label_->setWordWrap(roomForLines);
            label_->setAlignment(horizontal | (roomForLines ? Qt::AlignTop : Qt::AlignVCenter));
            setText(SpecText(params.text));
        }
        attachWidget(label_);
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == STM_SETICON) {
            showIcon(reinterpret_cast<HICON>(wParam));
            return 0;
        }
        return UiWindow::windowProc(message, wParam, lParam);
    }

    std::string text() const override { return text_; }
    void setText(const std::string& text) override {
        text_ = text;
        if (isIcon_) return;
        // '&' marks a mnemonic unless the style says otherwise; without a
        // control to give the focus to, it only shows as written.
        QString shown = ToQt(text);
        if (style() & SS_NOPREFIX || !label_->buddy()) shown = WithoutMnemonic(shown, !(style() & SS_NOPREFIX));
        label_->setText(shown);
    }

    bool isLabel() const override { return !isIcon_ && !(style() & SS_NOPREFIX); }
    void setMnemonicTarget(UiWindow* target) override {
        label_->setBuddy(target ? target->focusWidget() : nullptr);
        setText(text_);
    }

private:
    static QString WithoutMnemonic(const QString& text, bool strip) {
        if (!strip) return text;
        QString plain;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && i + 1 < text.size()) ++i;
            plain += text[i];
        }
        return plain;
    }

    void showIcon(HICON icon) {
        if (!icon) return;
        label_->setPixmap(icon->icon.pixmap(IconSize, IconSize));
        label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    QLabel* label_;
    std::string text_;
    bool isIcon_ = false;
};

}  // namespace

std::unique_ptr<UiWindow> CreateStaticControl(const ControlParams& params) { return std::make_unique<StaticControl>(params); }

}  // namespace platform::dialog
