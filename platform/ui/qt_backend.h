#pragma once
// The Qt widgets that answer MessageBoxA, the file dialogs and MessageBeep.
#include "platform/ui/backend.h"

namespace platform {

UiBackend& qtUiBackend();

int showQtMessageBox(const MessageBoxRequest& request);
FileDialogAnswer showQtFileDialog(const FileDialogRequest& request);

}  // namespace platform
