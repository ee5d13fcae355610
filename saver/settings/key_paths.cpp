#include "saver/settings/key_paths.h"

std::string SaverKeyPath() { return std::string("Control Panel\\") + SaverKeyWord; }

std::string SavedKeyPath() { return SaverKeyPath() + "\\Saved"; }

std::string DisplayKeyPath(const std::string& display) { return SavedKeyPath() + "\\" + display; }

std::string ModulesKeyPath(const std::string& display) { return DisplayKeyPath(display) + "\\Modules"; }

std::string ModuleKeyPath(const std::string& display, const char* module) {
    return ModulesKeyPath(display) + "\\" + module;
}

std::string PaletteKeyPath(const std::string& display) { return DisplayKeyPath(display) + "\\Palette"; }

std::string CaptureName(int number) { return "Capture #" + std::to_string(number); }

bool ValidDisplayName(const std::string& display) {
    return !display.empty() && display.size() <= MaxDisplayNameLength && display.find('\\') == std::string::npos;
}
