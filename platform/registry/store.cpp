#include "platform/registry/store.h"

#include "platform/registry/names.h"

namespace platform::registry {
namespace {

LONG FindChild(Hive& hive, std::int64_t parent, const std::string& name, std::int64_t& child) {
    Query q = hive.Prepare("SELECT id FROM keys WHERE parent = ?1 AND folded = ?2");
    q.Bind(1, parent).Bind(2, Fold(name));
    if (q.Next()) {
        child = q.Int(0);
        return ERROR_SUCCESS;
    }
    return q.error() != ERROR_SUCCESS ? q.error() : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

}  // namespace

LONG KeyAlive(Hive& hive, std::int64_t key) {
    Query q = hive.Prepare("SELECT 1 FROM keys WHERE id = ?1");
    q.Bind(1, key);
    if (q.Next()) return ERROR_SUCCESS;
    return q.error() != ERROR_SUCCESS ? q.error() : static_cast<LONG>(ERROR_KEY_DELETED);
}

LONG FindKey(Hive& hive, std::int64_t from, const std::vector<std::string>& names, std::int64_t& key) {
    std::int64_t current = from;
    for (const std::string& name : names) {
        LONG error = FindChild(hive, current, name, current);
        if (error != ERROR_SUCCESS) return error;
    }
    key = current;
    return ERROR_SUCCESS;
}

LONG CreateKey(Hive& hive, std::int64_t from, const std::vector<std::string>& names, std::int64_t& key,
               bool& created) {
    std::int64_t current = from;
    created = false;
    for (const std::string& name : names) {
        LONG error = FindChild(hive, current, name, current);
        if (error == ERROR_SUCCESS) {
            created = false;
            continue;
        }
        if (error != ERROR_FILE_NOT_FOUND) return error;
        Query insert = hive.Prepare("INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)");
        insert.Bind(1, current).Bind(2, name).Bind(3, Fold(name));
        if ((error = insert.Run()) != ERROR_SUCCESS) return error;
        current = hive.LastInsertId();
        created = true;
    }
    key = current;
    return ERROR_SUCCESS;
}

LONG CountSubKeys(Hive& hive, std::int64_t key, std::int64_t& count) {
    Query q = hive.Prepare("SELECT count(*) FROM keys WHERE parent = ?1");
    q.Bind(1, key);
    count = q.Next() ? q.Int(0) : 0;
    return q.error();
}

LONG RemoveKey(Hive& hive, std::int64_t key) {
    Query values = hive.Prepare("DELETE FROM vals WHERE key = ?1");
    LONG error = values.Bind(1, key).Run();
    if (error != ERROR_SUCCESS) return error;
    Query self = hive.Prepare("DELETE FROM keys WHERE id = ?1");
    return self.Bind(1, key).Run();
}

LONG SubKeyAt(Hive& hive, std::int64_t key, std::int64_t index, std::string& name) {
    Query q = hive.Prepare("SELECT name FROM keys WHERE parent = ?1 ORDER BY folded LIMIT 1 OFFSET ?2");
    q.Bind(1, key).Bind(2, index);
    if (q.Next()) {
        name = q.Text(0);
        return ERROR_SUCCESS;
    }
    return q.error() != ERROR_SUCCESS ? q.error() : static_cast<LONG>(ERROR_NO_MORE_ITEMS);
}

LONG QueryKeyInfo(Hive& hive, std::int64_t key, KeyInfo& info) {
    Query keys = hive.Prepare("SELECT count(*), coalesce(max(length(name)), 0) FROM keys WHERE parent = ?1");
    keys.Bind(1, key);
    if (keys.Next()) {
        info.subKeys = keys.Int(0);
        info.maxSubKeyName = keys.Int(1);
    }
    if (keys.error() != ERROR_SUCCESS) return keys.error();
    Query values = hive.Prepare(
        "SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(data)), 0) FROM vals WHERE key = ?1");
    values.Bind(1, key);
    if (values.Next()) {
        info.values = values.Int(0);
        info.maxValueName = values.Int(1);
        info.maxValueData = values.Int(2);
    }
    return values.error();
}

LONG GetValue(Hive& hive, std::int64_t key, const std::string& name, StoredValue& value) {
    Query q = hive.Prepare("SELECT name, type, data FROM vals WHERE key = ?1 AND folded = ?2");
    q.Bind(1, key).Bind(2, Fold(name));
    if (q.Next()) {
        value.name = q.Text(0);
        value.type = static_cast<DWORD>(q.Int(1));
        value.data = q.Text(2);
        return ERROR_SUCCESS;
    }
    return q.error() != ERROR_SUCCESS ? q.error() : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

LONG PutValue(Hive& hive, std::int64_t key, const std::string& name, DWORD type, const void* data,
              std::size_t size) {
    Query q = hive.Prepare(
        "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
        "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    q.Bind(1, key).Bind(2, name).Bind(3, Fold(name)).Bind(4, static_cast<std::int64_t>(type));
    q.BindBlob(5, data, size);
    return q.Run();
}

LONG RemoveValue(Hive& hive, std::int64_t key, const std::string& name) {
    Query q = hive.Prepare("DELETE FROM vals WHERE key = ?1 AND folded = ?2");
    LONG error = q.Bind(1, key).Bind(2, Fold(name)).Run();
    if (error != ERROR_SUCCESS) return error;
    return hive.Changes() > 0 ? ERROR_SUCCESS : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

LONG ValueAt(Hive& hive, std::int64_t key, std::int64_t index, StoredValue& value) {
    Query q = hive.Prepare("SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2");
    q.Bind(1, key).Bind(2, index);
    if (q.Next()) {
        value.name = q.Text(0);
        value.type = static_cast<DWORD>(q.Int(1));
        value.data = q.Text(2);
        return ERROR_SUCCESS;
    }
    return q.error() != ERROR_SUCCESS ? q.error() : static_cast<LONG>(ERROR_NO_MORE_ITEMS);
}

}  // namespace platform::registry
