#include "saver/settings/settings_record.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "saver/settings/little_endian.h"

namespace settings {

namespace {

bool ReadNumber(FileReader& file, DWORD& value) {
    BYTE bytes[4];
    if (file.Read(bytes, 4) != 4) return false;
    value = LoadLittleEndian(bytes);
    return true;
}

// A zero-terminated string of `length` bytes, at most MaxRecordPathBytes.
bool ReadText(FileReader& file, DWORD length, std::string& text) {
    if (length == 0 || length > MaxRecordPathBytes) return false;
    char buffer[MaxRecordPathBytes];
    if (file.Read(buffer, length) != length || buffer[length - 1] != '\0') return false;
    text.assign(buffer);
    return true;
}

void AppendNumber(std::vector<BYTE>& out, DWORD value) {
    BYTE bytes[4];
    StoreLittleEndian(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

void AppendText(std::vector<BYTE>& out, const char* text) {
    const std::size_t length = std::strlen(text) + 1;
    AppendNumber(out, static_cast<DWORD>(length));
    out.insert(out.end(), text, text + length);
}

}  // namespace

DWORD FileReader::Read(void* buffer, DWORD size) {
    DWORD total = 0;
    while (total < size) {
        if (position_ == length_) {
            position_ = length_ = 0;
            if (!ReadFile(file_, buffer_, sizeof buffer_, &length_, nullptr) || length_ == 0) break;
        }
        const DWORD part = std::min(size - total, length_ - position_);
        std::memcpy(static_cast<BYTE*>(buffer) + total, buffer_ + position_, part);
        position_ += part;
        total += part;
    }
    return total;
}

bool FileReader::Seek(DWORD offset) {
    position_ = length_ = 0;
    return SetFilePointer(file_, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset;
}

RecordRead ReadRecord(FileReader& file, SettingsRecord& record) {
    BYTE first[4];
    const DWORD got = file.Read(first, 4);
    if (got == 0) return RecordRead::End;
    if (got != 4) return RecordRead::Bad;

    if (!ReadText(file, LoadLittleEndian(first), record.keyPath)) return RecordRead::Bad;
    DWORD nameLength = 0;
    if (!ReadNumber(file, nameLength) || !ReadText(file, nameLength, record.name)) return RecordRead::Bad;
    if (!ReadNumber(file, record.type) || !ReadNumber(file, record.size)) return RecordRead::Bad;
    if (record.size > MaxRecordDataBytes) return RecordRead::Bad;
    if (file.Read(record.data, record.size) != record.size) return RecordRead::Bad;
    return RecordRead::Complete;
}

void AppendRecord(std::vector<BYTE>& out, const std::string& keyPath, const char* name, DWORD type,
                  const BYTE* data, DWORD size) {
    AppendText(out, keyPath.c_str());
    AppendText(out, name);
    AppendNumber(out, type);
    AppendNumber(out, size);
    out.insert(out.end(), data, data + size);
}

}  // namespace settings
