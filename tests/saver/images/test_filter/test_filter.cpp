// A filter for the import tests: it hands back the file's own bytes as the
// metafile, so a test can give the program any metafile it likes.  A file
// reading "fail" makes the import fail, "none" succeed without a metafile.
// Built twice: as it is, and refusing in GetFilterInfo.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/import_filter.h"

namespace {

int Import(FilterFileSpec* file, FilterPicture* picture) {
    std::FILE* in = std::fopen(file->name, "rb");
    if (!in) return 1;
    std::vector<char> bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(in);
    const std::string text(bytes.begin(), bytes.end());
    if (text == "fail") return 1;
    if (text == "none") return 0;
    picture->metafile = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(picture->metafile), bytes.data(), bytes.size());
    GlobalUnlock(picture->metafile);
    return 0;
}

int Info(HGLOBAL* preferences) {
    // Preferences the caller must free.
    *preferences = GlobalAlloc(GMEM_MOVEABLE, 64);
#ifdef TEST_FILTER_REFUSES
    return 1;
#else
    return FilterInterfaceVersion;
#endif
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int GetFilterInfo(short, LPSTR, HGLOBAL* preferences,
                                                                         LPVOID) {
    return Info(preferences);
}

extern "C" __attribute__((visibility("default"))) int ImportGr(HDC, FilterFileSpec* file,
                                                                    FilterPicture* picture, HGLOBAL) {
    return Import(file, picture);
}
