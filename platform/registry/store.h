#pragma once
// Keys and values of one hive as rows.  Each call runs inside Hive::Atomic;
// results are Win32 error codes.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry/hive.h"
#include "platform/registry/registry.h"

namespace platform::registry {

// ERROR_SUCCESS, or ERROR_KEY_DELETED when the key is gone.
LONG KeyAlive(Hive& hive, std::int64_t key);

// Follows names down from a key: ERROR_FILE_NOT_FOUND when one is missing.
LONG FindKey(Hive& hive, std::int64_t from, const std::vector<std::string>& names, std::int64_t& key);
// Follows names down, making every missing key; created tells whether the
// last one is new.
LONG CreateKey(Hive& hive, std::int64_t from, const std::vector<std::string>& names, std::int64_t& key,
               bool& created);
LONG CountSubKeys(Hive& hive, std::int64_t key, std::int64_t& count);
// Removes a key and its values (the caller made sure it has no sub-keys).
LONG RemoveKey(Hive& hive, std::int64_t key);
// The index-th sub-key in case-insensitive order, or ERROR_NO_MORE_ITEMS.
LONG SubKeyAt(Hive& hive, std::int64_t key, std::int64_t index, std::string& name);

struct KeyInfo {
    std::int64_t subKeys = 0;
    std::int64_t maxSubKeyName = 0;
    std::int64_t values = 0;
    std::int64_t maxValueName = 0;
    std::int64_t maxValueData = 0;
};
LONG QueryKeyInfo(Hive& hive, std::int64_t key, KeyInfo& info);

struct StoredValue {
    std::string name;  // as first created
    DWORD type = REG_NONE;
    std::string data;  // bytes exactly as stored
};
// ERROR_FILE_NOT_FOUND when the value is missing.
LONG GetValue(Hive& hive, std::int64_t key, const std::string& name, StoredValue& value);
// Creates the value at the end of the key's order, or replaces the type and
// data of an existing one in its place (and with its first name).
LONG PutValue(Hive& hive, std::int64_t key, const std::string& name, DWORD type, const void* data,
              std::size_t size);
LONG RemoveValue(Hive& hive, std::int64_t key, const std::string& name);
// The index-th value in creation order, or ERROR_NO_MORE_ITEMS.
LONG ValueAt(Hive& hive, std::int64_t key, std::int64_t index, StoredValue& value);

}  // namespace platform::registry
