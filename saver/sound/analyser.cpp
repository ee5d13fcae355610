#include "saver/sound/analyser.h"

#include <cstring>

namespace {

constexpr char PlaySwitch[] = " /PPLAY";

// The registered command line, at most 260 bytes with its terminator.  A value
// that does not fit, is not a string or lacks the terminator is treated as
// missing: running a cut-off command line would start something else.
bool ReadCommandLine(char (&command)[MAX_PATH]) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, AnalyserCommandKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    DWORD size = MAX_PATH;
    const LONG result = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(command), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || memchr(command, '\0', size) == nullptr) {
        return false;
    }
    return command[0] != '\0';
}

bool CoversScreenHeight(HWND window) {
    RECT client{};
    return window != nullptr && GetClientRect(window, &client) && client.bottom == GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

BOOL StartAnalyser(HWND window, BOOL play) {
    char command[MAX_PATH] = {};
    if (!ReadCommandLine(command)) {
        return FALSE;
    }
    if (!play) {
        return WinExec(command, SW_SHOWNORMAL) > 31 ? TRUE : FALSE;
    }
    if (!CoversScreenHeight(window)) {
        return FALSE;
    }
    char withPlay[MAX_PATH + sizeof PlaySwitch] = {};
    std::strcpy(withPlay, command);
    std::strcat(withPlay, PlaySwitch);
    return WinExec(withPlay, SW_SHOWNORMAL) > 31 ? TRUE : FALSE;
}

BOOL RegisterAnalyserCommand(const std::string& program) {
    if (program.empty()) {
        return FALSE;
    }
    for (const char c : program) {
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) {
            return FALSE;
        }
    }
    const bool blanks = program.find_first_of(" \t") != std::string::npos;
    const std::string command = blanks ? "\"" + program + "\"" : program;
    if (command.size() + 1 > MAX_PATH) {
        return FALSE;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, AnalyserCommandKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return FALSE;
    }
    const LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                       static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? TRUE : FALSE;
}

std::string RegisteredAnalyserCommand() {
    char command[MAX_PATH] = {};
    return ReadCommandLine(command) ? std::string(command) : std::string();
}
