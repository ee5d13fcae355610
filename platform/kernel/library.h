#pragma once
// Shared libraries loaded at run time, the Linux side of LoadLibraryA: the
// graphics import filters are shared objects that the platform ships beside
// the program.
#include <string>

#include "platform/types.h"

namespace platform {

// The folder of the import filters shipped with the platform: the first of
// "filters" and "lib/lumora/filters" holding a "*.FLT" file, looked for in
// the program's folder and then in each folder above it, so the filters are
// found beside an installed program (prefix/bin and prefix/lib/lumora) and
// in a build tree alike.  Empty when there is none.
std::string ImportFilterDirectory();

// Where a library name without a folder is looked for, in order: the
// program's folder, the import filter folder, the system directory and the
// Windows directory; names compare case-insensitively, as on Windows.  A name
// with a folder is used as it stands.  The path found, or empty.
std::string FindLibraryFile(const char* fileName);

// Loads (or counts one more use of) a shared library; null with
// ERROR_MOD_NOT_FOUND when it is not found, ERROR_BAD_FORMAT when it cannot
// be loaded.
HMODULE LoadSharedLibrary(const char* fileName);
bool IsSharedLibrary(HMODULE module);
// The address of an exported function, or null with ERROR_PROC_NOT_FOUND.
void* SharedLibrarySymbol(HMODULE module, const char* name);
// One use less; the library is unloaded with its last use.
bool FreeSharedLibrary(HMODULE module);

}  // namespace platform
