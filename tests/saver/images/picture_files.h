#pragma once
// Picture files made by the tests: PCX written here, JPEG through libjpeg,
// PNG through Qt, and metafiles record by record.
#include <string>
#include <vector>

#include "platform/win32.h"

namespace imagetest {

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes);
std::vector<BYTE> ReadFile(const std::string& path);

// A PCX file of `planes` planes of `bits` bits, run-length encoded, from
// the scan lines (planes side by side, `lineBytes` each); `palette` (768
// bytes) is appended after the 0x0C marker when given.
std::vector<BYTE> Pcx(int width, int height, int bits, int planes, int lineBytes, const std::vector<BYTE>& scans,
                      const std::vector<BYTE>& palette = {});

// A JPEG of width x height from top-down RGB (3 bytes a pixel) or grey rows.
std::vector<BYTE> Jpeg(int width, int height, bool grey, const std::vector<BYTE>& pixels, int quality = 100);

// A metafile of the given records (each: function, then its bytes after the
// function word), with a header that tells the total size.
struct Record {
    WORD function;
    std::vector<BYTE> body;
};
std::vector<BYTE> Metafile(const std::vector<Record>& records);

// A packed 8-bit DIB: header, `colours` table entries of (i, i, i), rows.
std::vector<BYTE> PackedDib8(int width, int height, int colours, const std::vector<BYTE>& rows);

}  // namespace imagetest
