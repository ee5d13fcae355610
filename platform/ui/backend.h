#pragma once
// The seam between the Win32-shaped calls and whoever answers them: Qt
// widgets normally, a ScriptedUi in tests.
#include "platform/ui/requests.h"

namespace platform {

class UiBackend {
public:
    virtual ~UiBackend() = default;
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    virtual FileDialogAnswer fileDialog(const FileDialogRequest& request) = 0;
    virtual void beep(UINT type) = 0;
    // Shows a local file (a help page) in the desktop's browser; false when
    // no browser could be started.
    virtual bool openDocument(const std::string& path) = 0;
};

// The installed override, or the Qt backend.
UiBackend& activeUiBackend();
// Installs an override (nullptr removes it).  Installing a second override
// while one is installed throws std::logic_error.
void setUiOverride(UiBackend* backend);

}  // namespace platform
