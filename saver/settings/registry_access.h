#pragma once
// Small registry helpers of the settings store.  Keys are under
// HKEY_CURRENT_USER unless a root is given.
#include <string>

#include "platform/win32.h"

// Zeros `size` bytes of the buffer, then reads the value from the key
// "Control Panel\<keyWord>".  1 when the value was read; a missing key or
// value leaves the buffer zero.  type and size may be null (size then means
// the buffer is empty).
BOOL ReadSaverValue(const char* valueName, const char* keyWord, DWORD* type, void* buffer, DWORD* size);

// Zeros `size` bytes of the buffer, then reads at most the first `size`
// bytes of the value from "Control Panel\<keyWord>", however long the value
// is.  1 when the value exists.
BOOL ReadSaverValuePrefix(const char* valueName, const char* keyWord, void* buffer, DWORD size);

// Sets the value in the existing key "Control Panel\<keyWord>" (the key is
// not created); size 0 deletes the value.  1 when the key could be opened.
BOOL WriteSaverValue(const char* valueName, const char* keyWord, DWORD type, const void* data, DWORD size);

// 1 when the key opens for reading.
BOOL KeyExists(const char* path);

// Creates or opens the key and sets a string value with its terminating
// zero.  1 when the value was stored.
BOOL WriteStringValue(HKEY root, const char* keyPath, const char* valueName, const char* text);

// Whether the saved display holds a key for the module.
BOOL DisplayHasModule(const char* display, const char* module);
