#include "saver/sound/versions.h"

DWORD ReadUserDword(LPCSTR keyPath, LPCSTR valueName) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    // Whatever type the value was stored with, only a value of exactly four
    // bytes is a 32-bit number.
    BYTE data[4] = {};
    DWORD size = sizeof data;
    const LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr, data, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof data) {
        return 0;
    }
    return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16) |
           (static_cast<DWORD>(data[3]) << 24);
}

BOOL WriteUserDword(LPCSTR keyPath, LPCSTR valueName, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return FALSE;
    }
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                          static_cast<BYTE>(value >> 24)};
    const LONG result = RegSetValueExA(key, valueName, 0, REG_DWORD, data, sizeof data);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? TRUE : FALSE;
}

DWORD ReadAnalyserVersion(DWORD* build) {
    if (build != nullptr) {
        *build = ReadUserDword(AnalyserVersionKey, BuildValue) & 0xFFFF;
    }
    return ReadUserDword(AnalyserVersionKey, CurrentVersionValue);
}

void WriteSaverVersion(WORD major, WORD minor, WORD build) {
    WriteUserDword(SaverVersionKey, CurrentVersionValue, static_cast<DWORD>(major) * 65536 + minor);
    WriteUserDword(SaverVersionKey, BuildValue, build);
}
