#pragma once
// The platform root: $LUMORA_ROOT, or ${XDG_DATA_HOME:-$HOME/.local/share}/lumora.
#include <string>

namespace platform {

std::string PlatformRoot();

}  // namespace platform
