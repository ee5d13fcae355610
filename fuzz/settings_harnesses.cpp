// The readers of settings other people made: a settings file imported as a
// display, and REGEDIT4 text imported by lumora-reg.
#include <sstream>
#include <string>

#include "fuzz/harnesses.h"
#include "fuzz/private_root.h"
#include "platform/registry/transaction.h"
#include "saver/framework/control_table.h"
#include "saver/framework/module_record.h"
#include "saver/palette/palette_settings.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/settings_file.h"
#include "saver/settings/settings_store.h"
#include "tools/lumora-reg/import.h"
#include "tools/lumora-reg/tree.h"

using fuzzsupport::Check;

namespace {

constexpr char FuzzDisplay[] = "Fuzz";

// Everything both hives hold, as lumora-reg exports it.
std::string ExportHives() {
    std::ostringstream out;
    out << "REGEDIT4\n\n";
    std::string error;
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        lumorareg::KeyPath key;
        Check(lumorareg::ParseKeyPath(root, key));
        Check(lumorareg::ExportTree(key, out, error) == ERROR_SUCCESS);
    }
    return out.str();
}

// Empties the key: its values, and every key below it but those the
// registry keeps (HKEY_CLASSES_ROOT's), which are emptied in turn.
void ClearKey(const lumorareg::KeyPath& key) {
    HKEY handle = nullptr;
    Check(RegOpenKeyExA(key.root, key.sub.empty() ? nullptr : key.sub.c_str(), 0, KEY_ALL_ACCESS, &handle) ==
          ERROR_SUCCESS);
    char name[MAX_VALUE_NAME_LENGTH + 1];
    DWORD length = sizeof name;
    while (RegEnumValueA(handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        Check(RegDeleteValueA(handle, name) == ERROR_SUCCESS);
        length = sizeof name;
    }
    for (DWORD index = 0;; length = sizeof name) {
        if (RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const lumorareg::KeyPath child = key.Child(std::string(name, length));
        if (lumorareg::DeleteTree(child) == ERROR_SUCCESS) continue;
        ClearKey(child);
        ++index;
    }
    RegCloseKey(handle);
}

void ClearHives() {
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        lumorareg::KeyPath key;
        Check(lumorareg::ParseKeyPath(root, key));
        ClearKey(key);
    }
}

// Runs an import inside transactions of both hives that are never
// committed: every input starts from the same registry, and nothing is
// written to the hive files.
template <typename Work>
void Uncommitted(Work work) {
    platform::RegistryTransaction user(HKEY_CURRENT_USER);
    platform::RegistryTransaction machine(HKEY_LOCAL_MACHINE);
    work();
}

bool Import(const std::string& text, std::string& error) {
    std::istringstream in(text);
    return lumorareg::ImportRegedit(in, error);
}

}  // namespace

int FuzzSettingsFile(const std::uint8_t* data, std::size_t size) {
    static PaletteSettings palette;
    static const bool ready = [] {
        fuzzsupport::PrivateRoot();
        RegisterAllControls();
        CurrentPalette = &palette;
        return true;
    }();
    (void)ready;
    const std::string input = fuzzsupport::WriteInput("input.lum", data, size);
    Uncommitted([&] {
        if (!ReadSettingsFile(FuzzDisplay, input.c_str())) return;
        // What was imported loads, and exports to a file that imports again
        // to the same display.  A file of no records leaves no display
        // behind, and its export is the mark alone.
        LoadDisplay(FuzzDisplay);
        const std::string keyPath = DisplayKeyPath(FuzzDisplay);
        const std::string exported = fuzzsupport::PrivateRoot() + "/exported.lum";
        const std::string again = fuzzsupport::PrivateRoot() + "/again.lum";
        const BOOL dumped = WriteSettingsFile(keyPath.c_str(), exported.c_str());
        Check(ReadSettingsFile(FuzzDisplay, exported.c_str()));
        Check(WriteSettingsFile(keyPath.c_str(), again.c_str()) == dumped);
        Check(fuzzsupport::ReadBytes(exported) == fuzzsupport::ReadBytes(again));
    });
    return 0;
}

int FuzzRegeditImport(const std::uint8_t* data, std::size_t size) {
    static const std::string before = [] {
        fuzzsupport::PrivateRoot();
        return ExportHives();
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string exported;
    Uncommitted([&] {
        std::string error;
        if (!Import(text, error)) {
            // All or nothing: a refused file leaves both hives as they were.
            Check(!error.empty());
            Check(ExportHives() == before);
            return;
        }
        exported = ExportHives();
    });
    if (exported.empty()) return 0;
    // The export holds everything the import stored: imported into empty
    // hives, it gives the same registry.
    Uncommitted([&] {
        ClearHives();
        std::string error;
        Check(Import(exported, error));
        Check(ExportHives() == exported);
    });
    return 0;
}
