#include "platform/registry/schema.h"

#include <string>
#include <vector>

#include "platform/registry/import_filters.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "platform/shell/folders.h"

namespace platform::registry {
namespace {

// "LMRG" in the file header tells a hive from any other SQLite file.
constexpr std::int64_t kApplicationId = 0x4C4D5247;
constexpr std::int64_t kFormatVersion = 1;

const std::vector<std::string> kClassesPath = {"Software", "Classes"};
const std::vector<std::string> kShellFoldersPath = {"Software", "Microsoft", "Windows", "CurrentVersion",
                                                    "Explorer", "Shell Folders"};

LONG Exec(Hive& hive, const char* sql) { return hive.Prepare(sql).Run(); }

// Strings of the shell stay zero-terminated, as Windows stores them.
LONG PutString(Hive& hive, std::int64_t key, const std::string& name, const std::string& text) {
    return PutValue(hive, key, name, REG_SZ, text.c_str(), text.size() + 1);
}

}  // namespace

HiveFormat ReadFormat(Hive& hive, LONG& error) {
    Query app = hive.Prepare("PRAGMA application_id");
    std::int64_t applicationId = app.Next() ? app.Int(0) : 0;
    Query version = hive.Prepare("PRAGMA user_version");
    std::int64_t formatVersion = version.Next() ? version.Int(0) : 0;
    Query tables = hive.Prepare("SELECT count(*) FROM sqlite_master");
    std::int64_t objects = tables.Next() ? tables.Int(0) : 0;
    error = app.error() != ERROR_SUCCESS       ? app.error()
            : version.error() != ERROR_SUCCESS ? version.error()
                                               : tables.error();
    if (applicationId == kApplicationId && formatVersion == kFormatVersion) return HiveFormat::kHive;
    if (applicationId == 0 && formatVersion == 0 && objects == 0) return HiveFormat::kEmpty;
    return HiveFormat::kForeign;
}

LONG CreateHive(Hive& hive, bool userHive) {
    static const char* const kSchema[] = {
        "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER, name BLOB NOT NULL, "
        "folded BLOB NOT NULL, UNIQUE(parent, folded))",
        "CREATE TABLE vals(id INTEGER PRIMARY KEY AUTOINCREMENT, key INTEGER NOT NULL, name BLOB NOT NULL, "
        "folded BLOB NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded))",
        // Values enumerate in creation order: (key, rowid) keeps them in that order.
        "CREATE INDEX vals_in_order ON vals(key)",
        "INSERT INTO keys(id, parent, name, folded) VALUES(1, NULL, x'', x'')",
        "PRAGMA application_id = 1280135751",
        "PRAGMA user_version = 1",
    };
    static_assert(kApplicationId == 1280135751 && kFormatVersion == 1);
    for (const char* sql : kSchema) {
        LONG error = Exec(hive, sql);
        if (error != ERROR_SUCCESS) return error;
    }

    std::int64_t key = 0;
    bool created = false;
    if (!userHive) {
        // A new machine comes with the shipped import filters.
        LONG error = CreateKey(hive, kRootKeyId, kClassesPath, key, created);
        return error == ERROR_SUCCESS ? RegisterImportFilters(hive) : error;
    }

    LONG error = CreateKey(hive, kRootKeyId, kShellFoldersPath, key, created);
    if (error == ERROR_SUCCESS) error = PutString(hive, key, "Desktop", DesktopDirectory());
    if (error == ERROR_SUCCESS) error = PutString(hive, key, "Startup", StartupDirectory());
    return error;
}

LONG FindClassesKey(Hive& hive, std::int64_t& key) { return FindKey(hive, kRootKeyId, kClassesPath, key); }

LONG MakeClassesKey(Hive& hive, std::int64_t& key) {
    bool created = false;
    return CreateKey(hive, kRootKeyId, kClassesPath, key, created);
}

}  // namespace platform::registry
