#include "platform/kernel/bitmap_file.h"

#include <algorithm>

#include "platform/kernel/bytes.h"

namespace platform {

std::vector<BYTE> EncodeBitmapFile(int width, int height, int bitsPerPixel, const std::vector<BYTE>& colours,
                                   const std::vector<BYTE>& rows) {
    constexpr DWORD kHeaders = 14 + 40;
    const DWORD offset = kHeaders + static_cast<DWORD>(colours.size());
    std::vector<BYTE> file(offset);
    BYTE* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    WriteDword(p + 2, offset + static_cast<DWORD>(rows.size()));
    WriteDword(p + 10, offset);
    WriteDword(p + 14, 40);
    WriteDword(p + 18, static_cast<DWORD>(width));
    WriteDword(p + 22, static_cast<DWORD>(height));
    WriteWord(p + 26, 1);
    WriteWord(p + 28, static_cast<WORD>(bitsPerPixel));
    WriteDword(p + 34, static_cast<DWORD>(rows.size()));
    WriteDword(p + 46, static_cast<DWORD>(colours.size() / 4));
    std::copy(colours.begin(), colours.end(), file.begin() + kHeaders);
    file.insert(file.end(), rows.begin(), rows.end());
    return file;
}

}  // namespace platform
