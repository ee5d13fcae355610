#pragma once
// An open registry key that closes itself, and the value helpers the store
// uses on it.  Internal to the settings store.
#include <string>

#include "platform/win32.h"

namespace settings {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // ERROR_SUCCESS or the registry's error; the key stays closed on error.
    LONG Open(HKEY root, const std::string& path, REGSAM access);
    LONG Create(HKEY root, const std::string& path);
    void Close();

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

// A value read as 4 bytes whatever its stored type, least significant byte
// first; shorter data is zero-extended.  False (and `out` untouched) when the
// value is missing or longer than 4 bytes.
bool ReadLong(HKEY key, const char* name, LONG& out);
bool ReadDword(HKEY key, const char* name, DWORD& out);

// A 4-byte binary value, least significant byte first.
LONG WriteLong(HKEY key, const char* name, LONG value);

// Deletes the key with everything below it, leaves first.  ERROR_SUCCESS
// also when the key did not exist.
LONG DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace settings
