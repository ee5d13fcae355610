#pragma once
// One record of a settings file, read and written field by field.  Internal
// to the settings store.
#include <string>
#include <vector>

#include "platform/win32.h"
#include "saver/settings/settings_file.h"

namespace settings {

inline constexpr BYTE SettingsFileMark[4] = {0x00, 0x42, 0x00, 0x42};

struct SettingsRecord {
    std::string keyPath;
    std::string name;
    DWORD type = 0;
    DWORD size = 0;
    BYTE data[MaxRecordDataBytes];
};

// Reads a file through a buffer, so that a record's small fields cost no
// call each.
class FileReader {
public:
    explicit FileReader(HANDLE file) : file_(file) {}
    // The number of bytes read: fewer than asked only at the end of the file
    // or on an error.
    DWORD Read(void* buffer, DWORD size);
    // Back to `offset` bytes from the start; false when the file refuses.
    bool Seek(DWORD offset);

private:
    HANDLE file_;
    BYTE buffer_[16384];
    DWORD position_ = 0;
    DWORD length_ = 0;
};

enum class RecordRead {
    Complete,
    End,  // the file ended where a record would begin
    Bad,  // cut short, or a length beyond the limits
};

// Reads the next record.  Lengths are checked before anything is read into
// the record, so an oversized one never reaches a buffer.
RecordRead ReadRecord(FileReader& file, SettingsRecord& record);

// Appends the record's bytes.
void AppendRecord(std::vector<BYTE>& out, const std::string& keyPath, const char* name, DWORD type,
                  const BYTE* data, DWORD size);

}  // namespace settings
