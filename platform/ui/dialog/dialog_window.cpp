#include "platform/ui/dialog/dialog_window.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "platform/gdi/window.h"
#include "platform/ui/dialog/controls.h"
#include "platform/ui/dialog/modal_loop.h"
#include "platform/ui/dialog/text.h"
#include "platform/ui/dialog/top_level_widget.h"

namespace platform::dialog {

namespace {

// Messages whose answer is the dialog procedure's own result rather than
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
           message == WM_CTLCOLORSTATIC;
}

// A mnemonic is a single '&' before a character ("&&" is a plain '&').
bool HasMnemonic(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return true;
        ++i;
    }
    return false;
}

QRect DialogGeometry(LPCDLGTEMPLATEA dialogTemplate, const DialogUnits& units) {
    bool child = dialogTemplate->style & WS_CHILD;
    return child ? units.toPixels(dialogTemplate->x, dialogTemplate->y, dialogTemplate->cx, dialogTemplate->cy)
                 : units.toPixels(0, 0, dialogTemplate->cx, dialogTemplate->cy);
}

}  // namespace

void TakeScreenSize() {
    static bool taken = false;
    if (taken) return;
    taken = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        platform::SetScreenSize(area.width(), area.height());
    }
}

DialogWindow::DialogWindow(LPCDLGTEMPLATEA dialogTemplate, HWND parent, QWidget* host, DLGPROC proc)
    : UiWindow(parent, 0, dialogTemplate->style, dialogTemplate->exStyle,
               DialogGeometry(dialogTemplate, DialogUnits(DialogUnits::TemplateFont(*dialogTemplate)))),
      font_(DialogUnits::TemplateFont(*dialogTemplate)),
      units_(font_),
      proc_(proc) {
    QWidget* face;
    if (isChild()) {
        face = new QWidget(host ? host : ParentWidget(parent));
    } else {
        topLevel_ = new TopLevelWidget(ParentWidget(parent));
        topLevel_->setFixedSize(geometry().size());
        HWND self = handle();
        topLevel_->onCancel = [self] { SendMessageA(self, WM_CLOSE, 0, 0); };
        topLevel_->onActivate = [self](bool active) {
            SendMessageA(self, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
        };
        face = topLevel_;
    }
    face->setFont(font_);
    face->setWindowTitle(ToQt(dialogTemplate->caption));
    attachWidget(face);
}

DialogWindow* DialogWindow::Create(LPCDLGTEMPLATEA dialogTemplate, HWND parent, QWidget* host, DLGPROC proc,
                                   LPARAM initParam) {
    if (!dialogTemplate) return nullptr;
    TakeScreenSize();
    auto* dialog = static_cast<DialogWindow*>(Install(std::make_unique<DialogWindow>(dialogTemplate, parent, host, proc)));
    HWND handle = dialog->handle();
    if (!dialog->createControls(dialogTemplate)) {
        DestroyWindow(handle);
        return nullptr;
    }
    dialog->linkMnemonics();
    UiWindow* first = dialog->firstTabStop();
    LRESULT focus = SendMessageA(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(first ? first->handle() : nullptr),
                                 initParam);
    // The procedure may have ended or destroyed its dialog already.
    dialog = static_cast<DialogWindow*>(UiWindow::fromHandle(handle));
    if (!dialog) return nullptr;
    if (focus) dialog->focusFirstTabStop();
    if (dialogTemplate->style & WS_VISIBLE && !dialog->ended()) dialog->setVisible(true);
    return dialog;
}

bool DialogWindow::createControls(LPCDLGTEMPLATEA dialogTemplate) {
    for (WORD i = 0; i < dialogTemplate->itemCount; ++i) {
        const DLGITEMTEMPLATEA& item = dialogTemplate->items[i];
        QRect place = units_.toPixels(item.x, item.y, item.cx, item.cy);
        if (!CreateControl(item.className, handle(), item.id, item.style | WS_VISIBLE, item.exStyle, item.text, place))
            return false;
    }
    return true;
}

void DialogWindow::linkMnemonics() {
    const auto& controls = children();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        UiWindow* label = controls[i].get();
        if (!label->isLabel() || !HasMnemonic(label->text())) continue;
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[j]->isLabel() || !controls[j]->takesTabFocus()) continue;
            label->setMnemonicTarget(controls[j].get());
            break;
        }
    }
}

LRESULT DialogWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (proc_) {
        HWND self = handle();
        INT_PTR handled = proc_(self, message, wParam, lParam);
        // The procedure may have destroyed its dialog.
        if (!UiWindow::fromHandle(self)) return handled;
        if (handled) return AnswersDirectly(message) ? handled : messageResult;
    }
    switch (message) {
    case WM_CLOSE:
        if (!isChild()) {
            UiWindow* cancel = child(IDCANCEL);
            SendMessageA(handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel ? cancel->handle() : nullptr));
        }
        return 0;
    case WM_INITDIALOG:
        return FALSE;
    default:
        return UiWindow::windowProc(message, wParam, lParam);
    }
}

INT_PTR DialogWindow::runModal() {
    if (!topLevel_ || ended_) return result_;
    HWND self = handle();
    RunModalLoop(topLevel_);
    DialogWindow* still = static_cast<DialogWindow*>(UiWindow::fromHandle(self));
    return still ? still->result_ : -1;
}

void DialogWindow::end(INT_PTR result) {
    ended_ = true;
    result_ = result;
    if (topLevel_ && topLevel_->isVisible())
        topLevel_->finish();
    else
        setVisible(false);
}

UiWindow* DialogWindow::firstTabStop() const {
    for (const auto& control : children())
        if (control->takesTabFocus() && control->isVisible() && control->isEnabled()) return control.get();
    return nullptr;
}

void DialogWindow::focusFirstTabStop() {
    if (UiWindow* first = firstTabStop())
        if (QWidget* focus = first->focusWidget()) focus->setFocus(Qt::TabFocusReason);
}

DialogWindow* OwningDialog(HWND window) {
    for (UiWindow* w = UiWindow::fromHandle(window); w; w = UiWindow::fromHandle(w->parent()))
        if (auto* dialog = dynamic_cast<DialogWindow*>(w)) return dialog;
    return nullptr;
}

UiWindow* CreateControl(LPCSTR className, HWND parent, int id, DWORD style, DWORD exStyle, LPCSTR text,
                        const QRect& geometry) {
    ControlFactory factory = FindControlClass(className);
    DialogWindow* dialog = OwningDialog(parent);
    if (!factory || !UiWindow::fromHandle(parent)) return nullptr;
    ControlParams params;
    params.parent = parent;
    params.id = id;
    params.style = style | WS_CHILD;
    params.exStyle = exStyle;
    params.text = text;
    params.geometry = geometry;
    params.font = dialog ? dialog->font() : QApplication::font();
    return Install(factory(params));
}

}  // namespace platform::dialog
