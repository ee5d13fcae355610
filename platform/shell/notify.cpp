#include <string>

#include "platform/kernel/kernel.h"
#include "platform/shell/shell.h"

namespace {

const char* EventName(LONG event) {
    switch (event) {
    case SHCNE_ASSOCCHANGED: return "associations changed";
    case SHCNE_UPDATEDIR: return "directory updated";
    case SHCNE_UPDATEITEM: return "item updated";
    case SHCNE_CREATE: return "item created";
    case SHCNE_DELETE: return "item deleted";
    case SHCNE_MKDIR: return "directory created";
    case SHCNE_RMDIR: return "directory removed";
    case SHCNE_RENAMEITEM: return "item renamed";
    default: return "change";
    }
}

}  // namespace

void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID /*dwItem2*/) {
    std::string message = "SHChangeNotify: ";
    message += EventName(wEventId);
    // Only a narrow path is text we can show; an item list is opaque here.
    if ((uFlags & SHCNF_TYPE) == SHCNF_PATHA && dwItem1) {
        message += ": ";
        message += static_cast<const char*>(dwItem1);
    }
    message += '\n';
    OutputDebugStringA(message.c_str());
}
