#include "saver/images/import_filters.h"

#include <strings.h>

#include <cstring>
#include <string>

#include "saver/images/file_extension.h"

const char* const ImportFilterKeyPath = "SOFTWARE\\Microsoft\\Shared Tools\\Graphics Filters\\Import";

namespace {

constexpr const char* JpegFallback = "JPEGIM32.FLT";
constexpr const char* PcxFallback = "PCXIMP32.FLT";

// A string value into `buffer`, always terminated; empty when it is missing
// or does not fit.
void ReadString(HKEY key, const char* name, char* buffer, DWORD size) {
    if (!buffer || size == 0) return;
    buffer[0] = '\0';
    DWORD type = 0, bytes = size - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        bytes = 0;
    buffer[bytes] = '\0';
}

void CopyName(char* out, const char* name) {
    std::strncpy(out, name, FilterPathSize - 1);
    out[FilterPathSize - 1] = '\0';
}

}  // namespace

BOOL ReadImportFilter(DWORD index, char* name, DWORD nameSize, char* extensions, DWORD extensionsSize, char* path,
                      DWORD pathSize) {
    HKEY filters = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ImportFilterKeyPath, 0, KEY_READ, &filters) != ERROR_SUCCESS) return 0;
    char keyName[MAX_KEY_NAME_LENGTH + 1];
    DWORD keyLength = sizeof keyName;
    HKEY filter = nullptr;
    const bool found =
        RegEnumKeyExA(filters, index, keyName, &keyLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        RegOpenKeyExA(filters, keyName, 0, KEY_READ, &filter) == ERROR_SUCCESS;
    RegCloseKey(filters);
    if (!found) return 0;
    ReadString(filter, "Name", name, nameSize);
    ReadString(filter, "Extensions", extensions, extensionsSize);
    ReadString(filter, "Path", path, pathSize);
    RegCloseKey(filter);
    return 1;
}

BOOL FindImportFilter(const char* file, char* library) {
    const char* extension = FileExtension(file);
    const char* bare = *extension == '.' ? extension + 1 : extension;
    char extensions[FilterExtensionsSize];
    library[0] = '\0';
    // A name without an extension has nothing to match.
    for (DWORD i = 0; *bare && ReadImportFilter(i, nullptr, 0, extensions, sizeof extensions, library,
                                                FilterPathSize);
         ++i) {
        if (strcasecmp(extensions, bare) == 0) break;
        library[0] = '\0';
    }
    if (library[0] != '\0' && GetFileAttributesA(library) != INVALID_FILE_ATTRIBUTES) return 1;
    if (strcasecmp(extension, ".jpg") == 0) {
        CopyName(library, JpegFallback);
        return 1;
    }
    if (strcasecmp(extension, ".pcx") == 0) {
        CopyName(library, PcxFallback);
        return 1;
    }
    library[0] = '\0';
    return 0;
}

BOOL BuildGraphicsFilterList(char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    std::string list = "Graphics files\t*.bmp;";
    char extensions[FilterExtensionsSize];
    DWORD count = 0;
    for (; ReadImportFilter(count, nullptr, 0, extensions, sizeof extensions, nullptr, 0); ++count)
        list += std::string("*.") + extensions + ";";
    list += "\t";
    // A list that does not fit is left out as a whole, like no list.
    if (count == 0 || list.size() >= size) {
        buffer[0] = '\0';
        return count == 0 ? 0 : 1;
    }
    std::memcpy(buffer, list.c_str(), list.size() + 1);
    return 1;
}
