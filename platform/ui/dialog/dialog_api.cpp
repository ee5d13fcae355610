// The dialog functions of Win32.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/ui/dialog/dialog_window.h"
#include "platform/ui/qt_session.h"

using platform::dialog::DialogWindow;
using platform::dialog::UiWindow;

namespace {

INT_PTR RunDialog(LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc, LPARAM initParam) {
    if (!dialogTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (!platform::ensureGuiApplication()) return -1;
    return platform::runOnGuiThread([&]() -> INT_PTR {
        // A modal dialog always shows, whatever its template says.
        DLGTEMPLATEA shown = *dialogTemplate;
        shown.style &= ~(WS_VISIBLE | WS_CHILD);
        DialogWindow* dialog = DialogWindow::Create(&shown, parent, nullptr, proc, initParam);
        if (!dialog) return -1;
        HWND handle = dialog->handle();
        INT_PTR result = dialog->runModal();
        if (IsWindow(handle)) DestroyWindow(handle);
        return result;
    });
}

HWND MakeModeless(LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc, LPARAM initParam) {
    if (!dialogTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!platform::ensureGuiApplication()) return nullptr;
    return platform::runOnGuiThread([&]() -> HWND {
        DialogWindow* dialog = DialogWindow::Create(dialogTemplate, parent, nullptr, proc, initParam);
        return dialog ? dialog->handle() : nullptr;
    });
}

LPCDLGTEMPLATEA Named(LPCSTR name) {
    LPCDLGTEMPLATEA found = platform::FindDialogTemplate(name);
    if (!found) SetLastError(ERROR_FILE_NOT_FOUND);
    return found;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
    LPCDLGTEMPLATEA found = Named(templateName);
    return found ? RunDialog(found, parent, proc, initParam) : -1;
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam) {
    return RunDialog(dialogTemplate, parent, proc, initParam);
}

HWND CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
    LPCDLGTEMPLATEA found = Named(templateName);
    return found ? MakeModeless(found, parent, proc, initParam) : nullptr;
}

HWND CreateDialogIndirectParamA(HINSTANCE, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam) {
    return MakeModeless(dialogTemplate, parent, proc, initParam);
}

BOOL EndDialog(HWND window, INT_PTR result) {
    auto* dialog = dynamic_cast<DialogWindow*>(UiWindow::fromHandle(window));
    if (!dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    dialog->end(result);
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    UiWindow* window = UiWindow::fromHandle(dialog);
    UiWindow* item = window ? window->child(id) : nullptr;
    if (!item) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return item->handle();
}

int GetDlgCtrlID(HWND window) {
    UiWindow* control = UiWindow::fromHandle(window);
    return control ? control->id() : 0;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item ? static_cast<BOOL>(SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text))) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
    if (text && maxCount > 0) text[0] = '\0';
    HWND item = GetDlgItem(dialog, id);
    if (!item) return 0;
    return static_cast<UINT>(SendMessageA(item, WM_GETTEXT, static_cast<WPARAM>(std::max(0, maxCount)),
                                          reinterpret_cast<LPARAM>(text)));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string text = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemTextA(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    char text[64];
    HWND item = GetDlgItem(dialog, id);
    if (!item) return 0;
    // A longer text cannot be a 32-bit number with a few blanks.
    if (SendMessageA(item, WM_GETTEXTLENGTH, 0, 0) >= static_cast<LRESULT>(sizeof text)) return 0;
    GetDlgItemTextA(dialog, id, text, sizeof text);
    const char* start = text;
    while (Blank(*start)) ++start;
    if (*start == '\0' || (!isSigned && *start == '-')) return 0;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(start, &end, 10);
    if (end == start || errno == ERANGE) return 0;
    while (Blank(*end)) ++end;
    if (*end != '\0') return 0;
    if (isSigned ? (value < INT_MIN || value > INT_MAX) : (value < 0 || value > UINT_MAX)) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(value);
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageA(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    SendMessageA(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    UiWindow* window = UiWindow::fromHandle(dialog);
    if (!window) return FALSE;
    for (const auto& control : window->children()) {
        int id = control->id();
        if (id < firstId || id > lastId) continue;
        SendMessageA(control->handle(), BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL MapDialogRect(HWND window, LPRECT rect) {
    DialogWindow* dialog = platform::dialog::OwningDialog(window);
    if (!dialog || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const platform::dialog::DialogUnits& units = dialog->units();
    *rect = RECT{units.toPixelsX(rect->left), units.toPixelsY(rect->top), units.toPixelsX(rect->right),
                 units.toPixelsY(rect->bottom)};
    return TRUE;
}
