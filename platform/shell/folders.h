#pragma once
// Where the shell's folders are on this machine.  Internal to the platform
// layer: saver code reads the folders through the registry or the Win32 calls.
#include <string>

namespace platform {

// $ROOT/windows and $ROOT/windows/system (not created here).
std::string WindowsDirectory();
std::string SystemDirectory();

// The user's desktop: XDG_DESKTOP_DIR as user-dirs.dirs sets it, else
// $HOME/Desktop.
std::string DesktopDirectory();
// Programs started with the session: ${XDG_CONFIG_HOME:-$HOME/.config}/autostart.
std::string StartupDirectory();

}  // namespace platform
