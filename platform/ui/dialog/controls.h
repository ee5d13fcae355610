#pragma once
// The control classes a dialog template or CreateWindowExA names.  Each kind
// lives in its own file; this is how a window of a class is made.
#include <memory>
#include <string>

#include <QFont>
#include <QRect>

#include "platform/ui/dialog/ui_window.h"

namespace platform::dialog {

struct ControlParams {
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    LPCSTR text = nullptr;  // may be MAKEINTRESOURCEA(id) for an icon
    QRect geometry;         // pixels in the parent's client area
    QFont font;             // the dialog's font
};

using ControlFactory = std::unique_ptr<UiWindow> (*)(const ControlParams& params);

// The factory of a class name (compared case-insensitively), or null.
ControlFactory FindControlClass(LPCSTR className);

std::unique_ptr<UiWindow> CreateStaticControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateButtonControl(const ControlParams& params);
// BS_OWNERDRAW buttons; CreateButtonControl hands them on.
std::unique_ptr<UiWindow> CreateOwnerDrawButton(const ControlParams& params);
std::unique_ptr<UiWindow> CreateEditControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateComboBoxControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateListBoxControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateTrackbarControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateUpDownControl(const ControlParams& params);
std::unique_ptr<UiWindow> CreateProgressControl(const ControlParams& params);

// Text as a window shows it: NULL and a resource id are empty.
std::string SpecText(LPCSTR text);

}  // namespace platform::dialog
