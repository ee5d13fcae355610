#pragma once
// Reading the program's switches.
#include <array>
#include <string>
#include <string_view>

namespace platform::saver {

enum class RunMode {
    Settings,    // /c, no switch, an unknown switch
    Setup,       // no switch, started as SETUP.EXE
    FullScreen,  // /s, -root without XSCREENSAVER_WINDOW
    Preview,     // /p ID, /l ID: inside a host's window, input is the host's
    Embedded,    // -window-id ID, -root with XSCREENSAVER_WINDOW: like a preview
    Password,    // /a
    Render,      // --render ...
    Help,        // --help
    Version,     // --version
    AddToXScreenSaver,       // --add-to-xscreensaver
    RemoveFromXScreenSaver,  // --remove-from-xscreensaver
    Invalid,     // a switch without its window id, a bad id, an unknown --option
};

struct Launch {
    RunMode mode = RunMode::Settings;
    unsigned long windowId = 0;       // Preview, Embedded
    int renderIndex = 0;              // Render: argv index of "--render"
    std::array<std::string, 3> words;  // program, switch, argument
    std::string savedDisplay;         // -saved-display NAME
    std::string error;                // Invalid: what was wrong
};

// `programPath` is the running program's full path; `xscreensaverWindow` the
// XSCREENSAVER_WINDOW variable or null.
Launch ParseCommandLine(int argc, const char* const* argv, std::string_view programPath,
                        const char* xscreensaverWindow);

// A window id in decimal or 0x hex, nonzero, at most 32 bits.
bool ParseWindowId(std::string_view text, unsigned long& id);

// The words CommandLineWords returns from now on, and the name
// SavedDisplayOption returns.
void SetCommandLineWords(const std::array<std::string, 3>& words);
void SetSavedDisplayOption(const std::string& name);

}  // namespace platform::saver
