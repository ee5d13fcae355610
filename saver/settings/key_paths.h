#pragma once
// The registry paths of the settings store, all under HKEY_CURRENT_USER.
// They are registry paths, so their components are joined with '\'.
#include <string>

#include "platform/win32.h"

inline constexpr char SaverKeyWord[] = "Screen Saver.Lumora";
inline constexpr char FallbackDisplayName[] = "[R] Saved Sound Settings";
// The temporary display of a test run: a settings file named on the saver's
// command line, or the sheet's settings on trial.
inline constexpr char TestDisplayName[] = "Testing Current Settings";

// A saved display's name is at most this many characters.
constexpr std::size_t MaxDisplayNameLength = 127;

std::string SaverKeyPath();                 // Control Panel\<key word>
std::string SavedKeyPath();                 // ...\Saved
std::string DisplayKeyPath(const std::string& display);
std::string ModulesKeyPath(const std::string& display);
std::string ModuleKeyPath(const std::string& display, const char* module);
std::string PaletteKeyPath(const std::string& display);
std::string CaptureName(int number);        // "Capture #<n>"

// A name that addresses exactly one display key: not empty, at most 127
// characters and no '\', which would name the saved key itself or a key
// inside another display.
bool ValidDisplayName(const std::string& display);
