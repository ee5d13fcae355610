// "EDIT": one line (QLineEdit) or several (QPlainTextEdit).  EN_CHANGE
// follows every change of a one-line edit, WM_SETTEXT's included (a
// multi-line edit notifies only the user's); EN_SETFOCUS and EN_KILLFOCUS
// follow the focus.  A read-only edit shows the dialog's background, as on
// Windows.  The parent's colours are asked for before each paint
// (WM_CTLCOLORSTATIC for a read-only edit, as Windows does).
#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/text.h"

namespace platform::dialog {

namespace {

class EditControl final : public UiWindow {
public:
    explicit EditControl(const ControlParams& params)
        : UiWindow(params.parent, params.id, params.style | WS_CHILD, params.exStyle, params.geometry) {
        QWidget* parent = ParentWidget(params.parent);
        if (params.style & ES_MULTILINE) {
            multi_ = new QPlainTextEdit(parent);
            multi_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            multi_->setTabChangesFocus(true);
            if (!(params.style & WS_VSCROLL)) multi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            edit_ = multi_;
        } else {
            line_ = new QLineEdit(parent);
            Qt::Alignment align = params.style & ES_RIGHT ? Qt::AlignRight : params.style & ES_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
            line_->setAlignment(align | Qt::AlignVCenter);
            if (params.style & ES_NUMBER)
                line_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), line_));
            edit_ = line_;
        }
        edit_->setFont(params.font);
        setReadOnly(params.style & ES_READONLY);
        setText(SpecText(params.text));
        attachWidget(edit_);
        WidgetBridge* link = bridge();
        // A multi-line edit paints in its viewport.
        if (multi_) multi_->viewport()->installEventFilter(link);
        if (line_) {
            QObject::connect(line_, &QLineEdit::textChanged, link, [link] {
                if (auto* self = static_cast<EditControl*>(link->owner); self && !self->settingText_)
                    self->notifyParent(EN_CHANGE);
            });
        } else {
            QObject::connect(multi_, &QPlainTextEdit::textChanged, link, [link] {
                if (auto* self = static_cast<EditControl*>(link->owner); self && !self->settingText_)
                    self->notifyParent(EN_CHANGE);
            });
        }
    }

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case EM_LIMITTEXT:
            if (line_) line_->setMaxLength(wParam == 0 ? 32767 : static_cast<int>(std::min<WPARAM>(wParam, 32767)));
            return 0;
        case EM_SETREADONLY:
            setReadOnly(wParam != 0);
            return TRUE;
        case EM_SETSEL:
            if (line_) {
                auto start = static_cast<int>(static_cast<LONG>(wParam));
                auto end = static_cast<int>(static_cast<LONG>(lParam));
                if (start == 0 && end == -1)
                    line_->selectAll();
                else if (start < 0)
                    line_->deselect();
                else
                    line_->setSelection(start, std::max(0, end - start));
            }
            return 0;
        default:
            return UiWindow::windowProc(message, wParam, lParam);
        }
    }

    std::string text() const override { return FromQt(line_ ? line_->text() : multi_->toPlainText()); }
    void setText(const std::string& text) override {
        // Single-line edits report the change after WM_SETTEXT (textSet).
        settingText_ = true;
        if (line_) {
            line_->setText(ToQt(text));
            line_->setCursorPosition(0);
        } else {
            multi_->setPlainText(ToQt(text));
        }
        settingText_ = false;
    }
    void textSet() override {
        if (line_) notifyParent(EN_CHANGE);
    }

    bool widgetEvent(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && (watched == line_ || (multi_ && watched == multi_->viewport()))) {
            bool readOnly = line_ ? line_->isReadOnly() : multi_->isReadOnly();
            askColours(readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, edit_);
        }
        if (watched != edit_) return false;
        if (event->type() == QEvent::FocusIn) notifyParent(EN_SETFOCUS);
        if (event->type() == QEvent::FocusOut) notifyParent(EN_KILLFOCUS);
        return false;
    }

private:
    void setReadOnly(bool readOnly) {
        if (line_) line_->setReadOnly(readOnly);
        if (multi_) multi_->setReadOnly(readOnly);
        QPalette palette = edit_->palette();
        palette.setBrush(QPalette::Base, readOnly ? palette.brush(QPalette::Window) : QApplication::palette().brush(QPalette::Base));
        edit_->setPalette(palette);
    }

    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    QWidget* edit_ = nullptr;
    bool settingText_ = false;
};

}  // namespace

std::unique_ptr<UiWindow> CreateEditControl(const ControlParams& params) { return std::make_unique<EditControl>(params); }

}  // namespace platform::dialog
