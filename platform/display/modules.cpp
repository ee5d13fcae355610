// Run-time loading over a table of built-in modules, then shared libraries.
// A built-in handle is the address of its table entry, so a stale or foreign
// handle is recognised by lookup and never dereferenced.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string>

#include "platform/display/display.h"
#include "platform/kernel/library.h"

namespace {

struct Export {
    const char* name;
    FARPROC address;
};

struct BuiltinModule {
    const char* name;  // upper case, without directory or extension
    const Export* exports;
    std::size_t exportCount;
    int loads;         // guarded by modulesMutex
};

const Export kDirectDrawExports[] = {
    {"DirectDrawCreate", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&DirectDrawCreate))},
};

BuiltinModule modules[] = {
    {"DDRAW", kDirectDrawExports, std::size(kDirectDrawExports), 0},
};

std::mutex modulesMutex;

// "C:\WINDOWS\SYSTEM\ddraw.dll" and "ddraw" both name DDRAW.
std::string baseName(const char* fileName) {
    std::string name(fileName);
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".DLL") == 0) name.resize(name.size() - 4);
    return name;
}

BuiltinModule* fromHandle(HMODULE handle) {
    for (BuiltinModule& module : modules) {
        if (reinterpret_cast<HMODULE>(&module) == handle) return &module;
    }
    return nullptr;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string wanted = baseName(fileName);
    std::lock_guard lock(modulesMutex);
    for (BuiltinModule& module : modules) {
        if (wanted == module.name) {
            ++module.loads;
            return reinterpret_cast<HMODULE>(&module);
        }
    }
    return platform::LoadSharedLibrary(fileName);
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR procName) {
    std::lock_guard lock(modulesMutex);
    BuiltinModule* module = fromHandle(handle);
    if (!module) return reinterpret_cast<FARPROC>(platform::SharedLibrarySymbol(handle, procName));
    if (module->loads == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A value below 65536 is an ordinal; no built-in export is reached that way.
    if (reinterpret_cast<std::uintptr_t>(procName) >= 0x10000) {
        for (std::size_t i = 0; i < module->exportCount; ++i) {
            if (std::strcmp(module->exports[i].name, procName) == 0) return module->exports[i].address;
        }
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE handle) {
    std::lock_guard lock(modulesMutex);
    BuiltinModule* module = fromHandle(handle);
    if (!module) return platform::FreeSharedLibrary(handle) ? TRUE : FALSE;
    if (module->loads == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --module->loads;
    return TRUE;
}
