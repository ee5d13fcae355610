#include "platform/registry/import_filters.h"

#include <string>
#include <system_error>
#include <filesystem>
#include <vector>

#include "platform/kernel/library.h"
#include "platform/registry/store.h"

namespace platform::registry {
namespace {

struct ShippedFilter {
    const char* key;
    const char* name;
    const char* extension;  // "Extensions" is matched whole, so one each
    const char* library;
};

const ShippedFilter kShippedFilters[] = {
    {"JPG", "JPEG File Interchange Format", "jpg", "JPEGIM32.FLT"},
    {"JPEG", "JPEG File Interchange Format", "jpeg", "JPEGIM32.FLT"},
    {"PCX", "PC Paintbrush", "pcx", "PCXIMP32.FLT"},
    {"PNG", "Portable Network Graphics", "png", "QTIMP32.FLT"},
    {"GIF", "Graphics Interchange Format", "gif", "QTIMP32.FLT"},
    {"TIF", "Tagged Image File Format", "tif", "QTIMP32.FLT"},
    {"TIFF", "Tagged Image File Format", "tiff", "QTIMP32.FLT"},
    {"WEBP", "WebP", "webp", "QTIMP32.FLT"},
};

LONG PutString(Hive& hive, std::int64_t key, const std::string& name, const std::string& text) {
    return PutValue(hive, key, name, REG_SZ, text.c_str(), text.size() + 1);
}

}  // namespace

LONG RegisterImportFilters(Hive& hive) {
    const std::string dir = ImportFilterDirectory();
    if (dir.empty()) return ERROR_SUCCESS;
    for (const ShippedFilter& filter : kShippedFilters) {
        const std::string path = dir + "/" + filter.library;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        std::int64_t key = 0;
        bool created = false;
        LONG error = CreateKey(hive, kRootKeyId,
                               {"SOFTWARE", "Microsoft", "Shared Tools", "Graphics Filters", "Import", filter.key},
                               key, created);
        if (error == ERROR_SUCCESS) error = PutString(hive, key, "Name", filter.name);
        if (error == ERROR_SUCCESS) error = PutString(hive, key, "Extensions", filter.extension);
        if (error == ERROR_SUCCESS) error = PutString(hive, key, "Path", path);
        if (error != ERROR_SUCCESS) return error;
    }
    return ERROR_SUCCESS;
}

}  // namespace platform::registry
