#include <string>

#include "saver/settings/registry_access.h"
#include "saver/settings/settings_file.h"

BOOL RegisterSettingsFileType(const char* saverPath) {
    WriteStringValue(HKEY_CLASSES_ROOT, ".LUM", nullptr, "Lumora");
    WriteStringValue(HKEY_CLASSES_ROOT, ".LUM", "Content Type", "application/lumora");
    WriteStringValue(HKEY_CLASSES_ROOT, "Lumora\\shell\\open\\command", nullptr, "Lumora.SCR /S %1");

    char program[MAX_PATH] = "";
    if (saverPath == nullptr) {
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        saverPath = program;
    }
    const std::string icon = std::string(saverPath) + ",2";
    WriteStringValue(HKEY_CLASSES_ROOT, "Lumora\\DefaultIcon", nullptr, icon.c_str());

    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSH, nullptr, nullptr);
    return 1;
}
