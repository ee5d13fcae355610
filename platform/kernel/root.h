#pragma once
// The platform root: $LUMORA_ROOT, or ${XDG_DATA_HOME:-$HOME/.local/share}/lumora.
#include <string>

namespace platform {

std::string PlatformRoot();

// $HOME, or the password database's home when it is unset.
std::string HomeDirectory();
// The user's data files: ${XDG_DATA_HOME:-$HOME/.local/share}.
std::string DataHome();

}  // namespace platform
