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

// A program path as a command line: quoted when it holds blanks; empty for a
// path that cannot be one (empty, a double quote or control character, too
// long for the 260 bytes the saver reads).
std::string CommandFor(const std::string& program) {
    if (program.empty()) return "";
    for (const char c : program) {
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) return "";
    }
    const bool blanks = program.find_first_of(" \t") != std::string::npos;
    std::string command = blanks ? "\"" + program + "\"" : program;
    return command.size() + 1 > MAX_PATH ? "" : command;
}

// The registered command line, or else the analyser installed beside this
// program (a package puts both in one folder and never runs the analyser's
// own registration).
bool AnalyserCommandLine(char (&command)[MAX_PATH]) {
    if (ReadCommandLine(command)) return true;
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return false;
    const std::string bundled = BundledAnalyserCommand(program);
    if (bundled.empty()) return false;
    std::memcpy(command, bundled.c_str(), bundled.size() + 1);
    return true;
}

bool CoversScreenHeight(HWND window) {
    RECT client{};
    return window != nullptr && GetClientRect(window, &client) && client.bottom == GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

BOOL StartAnalyser(HWND window, BOOL play) {
    char command[MAX_PATH] = {};
    if (!AnalyserCommandLine(command)) {
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
    const std::string command = CommandFor(program);
    if (command.empty()) {
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

std::string BundledAnalyserCommand(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of('/');
    if (slash == std::string::npos) return "";
    const std::string analyser = programPath.substr(0, slash + 1) + BundledAnalyserName;
    const DWORD attributes = GetFileAttributesA(analyser.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
    return CommandFor(analyser);
}
