#pragma once
// A dialog made from a template: its controls, its dialog procedure with
// DWLP_MSGRESULT, the default processing Windows' dialog manager gives, and
// modal runs.  A child dialog (WS_CHILD, as a property sheet's page) lives
// inside a widget of its parent.
#include <QFont>

#include "platform/ui/dialog/dialog_units.h"
#include "platform/ui/dialog/ui_window.h"

namespace platform::dialog {

class TopLevelWidget;

class DialogWindow final : public UiWindow {
public:
    // Makes the dialog (hidden), its controls in template order, and sends
    // WM_INITDIALOG; shows it when the template has WS_VISIBLE.  `host` is
    // the widget a child dialog lives in (its parent's widget when null).
    // Null when the template names a control class nobody knows.
    static DialogWindow* Create(LPCDLGTEMPLATEA dialogTemplate, HWND parent, QWidget* host, DLGPROC proc,
                                LPARAM initParam);

    DialogWindow(LPCDLGTEMPLATEA dialogTemplate, HWND parent, QWidget* host, DLGPROC proc);

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const QFont& font() const { return font_; }
    const DialogUnits& units() const { return units_; }
    bool isChild() const { return (style() & WS_CHILD) != 0; }

    LONG_PTR messageResult = 0;
    LONG_PTR user = 0;
    DLGPROC procedure() const { return proc_; }
    void setProcedure(DLGPROC proc) { proc_ = proc; }

    // Runs the dialog modally until EndDialog; returns its result.
    INT_PTR runModal();
    void end(INT_PTR result);
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }

    // The first control that takes the focus with Tab, or null.
    UiWindow* firstTabStop() const;
    // Gives the focus to the first tab stop.
    void focusFirstTabStop();

private:
    bool createControls(LPCDLGTEMPLATEA dialogTemplate);
    void linkMnemonics();

    QFont font_;
    DialogUnits units_;
    DLGPROC proc_;
    TopLevelWidget* topLevel_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = 0;
};

// The dialog a window belongs to (the window itself when it is one), or null.
DialogWindow* OwningDialog(HWND window);

// Creates a control of a class in `parent` at the given pixel rectangle.
UiWindow* CreateControl(LPCSTR className, HWND parent, int id, DWORD style, DWORD exStyle, LPCSTR text,
                        const QRect& geometry);

// Makes the platform's screen size the size of the screen Qt shows on, so
// the Canvas and the display modes see the real screen.
void TakeScreenSize();

}  // namespace platform::dialog
