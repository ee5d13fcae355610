#include "saver/settings/settings_file.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/registry/transaction.h"
#include "saver/settings/file_handle.h"
#include "saver/settings/key_paths.h"
#include "saver/settings/registry_key.h"
#include "saver/settings/settings_record.h"
#include "saver/settings/settings_store.h"

using settings::FileHandle;
using settings::ReadRecord;
using settings::RecordRead;
using settings::RegKey;
using settings::SettingsFileMark;
using settings::SettingsRecord;

namespace {

// Largest value name exported, terminating zero included.
constexpr DWORD ExportNameBytes = 128;

// Appends the key's values, then its subkeys depth first.
BOOL DumpKey(std::vector<BYTE>& out, const std::string& keyPath, const std::string& relative) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, keyPath, KEY_READ) != ERROR_SUCCESS) return 0;
    for (DWORD index = 0;; ++index) {
        char name[ExportNameBytes];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        BYTE data[MaxRecordDataBytes];
        DWORD size = sizeof data;
        LONG error = RegEnumValueA(key.get(), index, name, &nameLength, nullptr, &type, data, &size);
        // A value beyond the limits cannot be exported; the ones after it
        // still are.
        if (error == ERROR_MORE_DATA) continue;
        if (error != ERROR_SUCCESS) break;
        settings::AppendRecord(out, relative, name, type, data, size);
    }
    for (DWORD index = 0;; ++index) {
        char name[MAX_KEY_NAME_LENGTH + 1];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string child(name, length);
        DumpKey(out, keyPath + "\\" + child, relative.empty() ? child : relative + "\\" + child);
    }
    return 1;
}

enum class FileCheck { Valid, Refused };

// Every record complete and within the limits, up to the end of the file.
FileCheck CheckRecords(settings::FileReader& file) {
    SettingsRecord record;
    for (;;) {
        switch (ReadRecord(file, record)) {
            case RecordRead::Complete: continue;
            case RecordRead::End: return FileCheck::Valid;
            case RecordRead::Bad: return FileCheck::Refused;
        }
    }
}

bool ReadMark(settings::FileReader& file) {
    BYTE mark[4] = {};
    return file.Read(mark, sizeof mark) == sizeof mark && std::equal(mark, mark + 4, SettingsFileMark);
}

}  // namespace

BOOL WriteSettingsFile(const char* keyPath, const char* fileName) {
    FileHandle file(CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return 0;
    std::vector<BYTE> bytes(SettingsFileMark, SettingsFileMark + sizeof SettingsFileMark);
    BOOL dumped = 0;
    {
        // One consistent picture of the display, even while another
        // instance saves over it.
        platform::RegistryTransaction snapshot(HKEY_CURRENT_USER);
        dumped = DumpKey(bytes, keyPath, "");
    }
    DWORD written = 0;
    const bool stored = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size();
    return dumped && stored ? 1 : 0;
}

BOOL ReadSettingsFile(const char* displayName, const char* fileName) {
    if (displayName == nullptr || !ValidDisplayName(displayName)) return 0;
    FileHandle file(CreateFileA(fileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return 0;
    auto reader = std::make_unique<settings::FileReader>(file.get());
    if (!ReadMark(*reader) || CheckRecords(*reader) != FileCheck::Valid) return 0;
    if (!reader->Seek(sizeof SettingsFileMark)) return 0;

    platform::RegistryTransaction transaction(HKEY_CURRENT_USER);
    DeleteDisplay(displayName);
    const std::string displayKey = DisplayKeyPath(displayName);
    BOOL result = 1;
    auto record = std::make_unique<SettingsRecord>();
    // Records of one key come together: its key stays open for them.
    RegKey key;
    std::string openPath;
    for (;;) {
        const RecordRead read = ReadRecord(*reader, *record);
        if (read == RecordRead::End) break;
        // The file changed since it was checked: keep the display as it was.
        if (read == RecordRead::Bad) return 0;
        if (!key || record->keyPath != openPath) {
            openPath = record->keyPath;
            key.Create(HKEY_CURRENT_USER, displayKey + "\\" + openPath);
        }
        if (!key || RegSetValueExA(key.get(), record->name.c_str(), 0, record->type, record->data, record->size) !=
                        ERROR_SUCCESS) {
            result = 0;
        }
    }
    key.Close();
    return transaction.commit() == ERROR_SUCCESS ? result : 0;
}
