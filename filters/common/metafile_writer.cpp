#include <cstring>
#include <initializer_list>

#include "filters/common/filter_import.h"
#include "platform/kernel/bytes.h"

namespace filter {
namespace {

using platform::WriteDword;
using platform::WriteWord;

constexpr DWORD kStretchDibParameters = 28;

constexpr std::size_t kWindowRecordBytes = 10;
constexpr std::size_t kEndRecordBytes = 6;

BYTE* PutRecord(BYTE* out, WORD function, std::initializer_list<WORD> parameters) {
    WriteDword(out, static_cast<DWORD>(3 + parameters.size()));
    WriteWord(out + 4, function);
    out += 6;
    for (WORD value : parameters) {
        WriteWord(out, value);
        out += 2;
    }
    return out;
}

// The stretched-DIB record's size, kept to whole 16-bit words.
std::size_t DibRecordBytes(const PackedDib& picture) {
    const std::size_t dib = picture.bytes().size();
    return kStretchDibParameters + dib + (dib & 1);
}

}  // namespace

std::size_t MetafileBytes(const PackedDib& picture) {
    return 2 * MetafileHeaderWords + 2 * kWindowRecordBytes + DibRecordBytes(picture) + kEndRecordBytes;
}

void WriteMetafile(const PackedDib& picture, BYTE* out) {
    const auto width = static_cast<WORD>(picture.width());
    const auto height = static_cast<WORD>(picture.height());
    const std::vector<BYTE>& dib = picture.bytes();
    const std::size_t recordBytes = DibRecordBytes(picture);

    WriteWord(out, 1);  // in memory
    WriteWord(out + 2, MetafileHeaderWords);
    WriteWord(out + 4, MetafileVersion);
    WriteDword(out + 6, static_cast<DWORD>(MetafileBytes(picture) / 2));
    WriteWord(out + 10, 0);
    WriteDword(out + 12, static_cast<DWORD>(recordBytes / 2));
    WriteWord(out + 16, 0);
    BYTE* r = out + 2 * MetafileHeaderWords;
    // Parameters are stored last first: y before x, height before width.
    r = PutRecord(r, META_SETWINDOWORG, {0, 0});
    r = PutRecord(r, META_SETWINDOWEXT, {height, width});
    WriteDword(r, static_cast<DWORD>(recordBytes / 2));
    WriteWord(r + 4, META_STRETCHDIB);
    WriteDword(r + 6, SRCCOPY);
    WriteWord(r + 10, DIB_RGB_COLORS);
    // Source height, width, y, x, then destination height, width, y, x.
    const WORD sizes[8] = {height, width, 0, 0, height, width, 0, 0};
    for (int i = 0; i < 8; ++i) WriteWord(r + 12 + 2 * i, sizes[i]);
    std::memcpy(r + kStretchDibParameters, dib.data(), dib.size());
    if (dib.size() & 1) r[kStretchDibParameters + dib.size()] = 0;
    PutRecord(r + recordBytes, META_EOF, {});
}

}  // namespace filter
