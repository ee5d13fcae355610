#include "platform/kernel/kernel.h"
#include "platform/ui/backend.h"
#include "platform/ui/ui.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (platform::messageBoxAnswers(type).empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    platform::MessageBoxRequest request;
    request.owner = owner;
    request.text = text ? text : "";
    request.caption = caption ? caption : "Error";
    request.type = type;
    return platform::activeUiBackend().messageBox(request);
}

BOOL MessageBeep(UINT type) {
    platform::activeUiBackend().beep(type);
    return TRUE;
}
