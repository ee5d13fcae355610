// The window classes the layer knows, by name.
#include <iterator>
#include <strings.h>

#include "platform/ui/dialog/controls.h"

namespace platform::dialog {

namespace {

struct WindowClass {
    const char* name;
    ControlFactory factory;
};

constexpr WindowClass Classes[] = {
    {"STATIC", CreateStaticControl},           {"BUTTON", CreateButtonControl},
    {"EDIT", CreateEditControl},               {"COMBOBOX", CreateComboBoxControl},
    {"LISTBOX", CreateListBoxControl},         {TRACKBAR_CLASSA, CreateTrackbarControl},
    {UPDOWN_CLASSA, CreateUpDownControl},      {PROGRESS_CLASSA, CreateProgressControl},
};

}  // namespace

ControlFactory FindControlClass(LPCSTR className) {
    if (!className || IS_INTRESOURCE(className)) return nullptr;
    for (const WindowClass& c : Classes)
        if (strcasecmp(c.name, className) == 0) return c.factory;
    return nullptr;
}

std::string SpecText(LPCSTR text) { return text && !IS_INTRESOURCE(text) ? std::string(text) : std::string(); }

}  // namespace platform::dialog
