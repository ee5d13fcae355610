// lumora-reg: reads and writes the registry hives under the platform root.
//   query KEY [VALUE]   a key's values and sub-keys, or one value ("" = default)
//   export KEY [FILE]   the key tree as REGEDIT4 text, to stdout or FILE
//   import FILE         REGEDIT4 text ("-" = stdin), all or nothing
//   delete KEY          the key and everything below it
//   session             the platform root, the hive files and the saved displays
// Exit status: 0 done, 1 the operation failed, 2 bad command line.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/kernel/root.h"
#include "platform/registry/files.h"
#include "tools/lumora-reg/import.h"
#include "tools/lumora-reg/key_path.h"
#include "tools/lumora-reg/tree.h"
#include "tools/lumora-reg/value_text.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char* const kSaverKey = "Control Panel\\Screen Saver.Lumora";

constexpr char kUsageText[] =
    "usage: lumora-reg query KEY [VALUE]\n"
    "       lumora-reg export KEY [FILE]\n"
    "       lumora-reg import FILE\n"
    "       lumora-reg delete KEY\n"
    "       lumora-reg session\n"
    "       lumora-reg --help\n"
    "KEY starts with HKEY_CURRENT_USER (HKCU), HKEY_LOCAL_MACHINE (HKLM) or\n"
    "HKEY_CLASSES_ROOT (HKCR), e.g. \"HKCU\\Control Panel\\Screen Saver.Lumora\".\n"
    "An empty VALUE names the key's default value; import reads standard input for FILE \"-\".\n"
    "The hives are under $LUMORA_ROOT/registry (by default ~/.local/share/lumora).\n";

int Usage() {
    std::cerr << kUsageText;
    return kUsage;
}

int Fail(const std::string& message) {
    std::cerr << "lumora-reg: " << message << '\n';
    return kFailed;
}

bool ParseKeyArgument(const std::string& text, lumorareg::KeyPath& key) {
    if (lumorareg::ParseKeyPath(text, key)) return true;
    std::cerr << "lumora-reg: \"" << text << "\" does not start with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or "
                                             "HKEY_CLASSES_ROOT\n";
    return false;
}

int Query(const lumorareg::KeyPath& key, const std::string* valueName) {
    std::string error;
    if (!valueName) {
        std::ostringstream out;
        LONG result = lumorareg::ListKey(key, out, error);
        if (result != ERROR_SUCCESS) return Fail(error + ": " + lumorareg::ErrorText(result));
        std::cout << out.str();
        return kDone;
    }
    HKEY handle = nullptr;
    LONG result = RegOpenKeyExA(key.root, key.sub.c_str(), 0, KEY_READ, &handle);
    if (result != ERROR_SUCCESS) return Fail(key.Full() + ": " + lumorareg::ErrorText(result));
    DWORD type = 0, size = 0;
    std::string data;
    result = RegQueryValueExA(handle, valueName->c_str(), nullptr, &type, nullptr, &size);
    while (result == ERROR_SUCCESS) {
        // The value may grow between the two calls: ask again until it fits.
        data.resize(size);
        result = RegQueryValueExA(handle, valueName->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                  &size);
        if (result != ERROR_MORE_DATA) break;
        result = ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return Fail(key.Full() + " value \"" + *valueName + "\": " + lumorareg::ErrorText(result));
    data.resize(size);
    std::string line;
    if (!lumorareg::FormatValue(*valueName, type, data, line)) return Fail("the value name has a line break");
    std::cout << line << '\n';
    return kDone;
}

int Export(const lumorareg::KeyPath& key, const std::string* file) {
    std::ostringstream text;
    text << "REGEDIT4\n\n";
    std::string error;
    LONG result = lumorareg::ExportTree(key, text, error);
    if (result != ERROR_SUCCESS) return Fail(error + ": " + lumorareg::ErrorText(result));
    if (!file) {
        std::cout << text.str();
        return std::cout.flush() ? kDone : Fail("cannot write to standard output");
    }
    std::ofstream out(*file, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    if (!out) return Fail("cannot write " + *file);
    return kDone;
}

int Import(const std::string& file) {
    std::string error;
    bool done;
    if (file == "-") {
        done = lumorareg::ImportRegedit(std::cin, error);
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) return Fail("cannot read " + file);
        done = lumorareg::ImportRegedit(in, error);
    }
    return done ? kDone : Fail((file == "-" ? std::string("stdin") : file) + ":" + error);
}

int Delete(const lumorareg::KeyPath& key) {
    if (key.sub.empty()) return Fail(key.Full() + " is a root key and cannot be deleted");
    LONG result = lumorareg::DeleteTree(key);
    if (result != ERROR_SUCCESS) return Fail(key.Full() + ": " + lumorareg::ErrorText(result));
    return kDone;
}

// What scripts/run.sh shows until the saver itself exists.
int Session() {
    std::cout << "Platform root: " << platform::PlatformRoot() << '\n'
              << "User hive: " << platform::RegistryHiveFile(HKEY_CURRENT_USER) << '\n'
              << "Machine hive: " << platform::RegistryHiveFile(HKEY_LOCAL_MACHINE) << '\n';
    HKEY saver = nullptr;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, KEY_READ, &saver);
    if (result == ERROR_FILE_NOT_FOUND) {
        std::cout << "Saved displays: none\n";
        return kDone;
    }
    if (result != ERROR_SUCCESS) return Fail(std::string("HKEY_CURRENT_USER\\") + kSaverKey + ": " +
                                             lumorareg::ErrorText(result));
    char active[260] = "";
    DWORD size = sizeof active - 1;
    if (RegQueryValueExA(saver, "Active", nullptr, nullptr, reinterpret_cast<BYTE*>(active), &size) ==
        ERROR_SUCCESS)
        active[size] = '\0';
    else
        active[0] = '\0';
    HKEY saved = nullptr;
    std::vector<std::string> names;
    if (RegOpenKeyExA(saver, "Saved", 0, KEY_READ, &saved) == ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            char name[MAX_KEY_NAME_LENGTH + 1];
            DWORD length = sizeof name;
            if (RegEnumKeyExA(saved, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        RegCloseKey(saved);
    }
    RegCloseKey(saver);
    std::cout << "Saved displays: " << (names.empty() ? "none" : std::to_string(names.size())) << '\n';
    for (const std::string& name : names) std::cout << (name == active ? "* " : "  ") << name << '\n';
    if (*active) std::cout << "Active display: " << active << '\n';
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage();
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        std::cout << kUsageText;
        return kDone;
    }
    lumorareg::KeyPath key;
    if (command == "query" && (args.size() == 2 || args.size() == 3)) {
        if (!ParseKeyArgument(args[1], key)) return kUsage;
        return Query(key, args.size() == 3 ? &args[2] : nullptr);
    }
    if (command == "export" && (args.size() == 2 || args.size() == 3)) {
        if (!ParseKeyArgument(args[1], key)) return kUsage;
        return Export(key, args.size() == 3 ? &args[2] : nullptr);
    }
    if (command == "import" && args.size() == 2) return Import(args[1]);
    if (command == "delete" && args.size() == 2) {
        if (!ParseKeyArgument(args[1], key)) return kUsage;
        return Delete(key);
    }
    if (command == "session" && args.size() == 1) return Session();
    return Usage();
}
