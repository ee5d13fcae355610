#include "saver/images/choose_bitmap_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "saver/images/choose_file.h"
#include "saver/images/import_filters.h"

namespace {

// Room for every registered filter's "*.EXT;" in the graphics entry.
constexpr DWORD GraphicsListSize = 4096;

void CopyBounded(char* out, const char* text, std::size_t size) {
    const std::string copy = text;  // `text` may be `out` itself
    const std::size_t n = std::min(copy.size(), size - 1);
    std::memcpy(out, copy.data(), n);
    out[n] = '\0';
}

}  // namespace

BOOL ChooseBitmapFile(char* fileBuffer, const char* initialPath, BOOL save) {
    if (RememberedDirectory[0] == 0) GetWindowsDirectoryA(RememberedDirectory, MAX_PATH);
    const char* initial = initialPath ? initialPath : "";
    const DWORD attributes = GetFileAttributesA(initial);
    if (*initial && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CopyBounded(RememberedDirectory, initial, MAX_PATH);
        fileBuffer[0] = '\0';
    } else {
        CopyBounded(fileBuffer, initial, BitmapFileBufferSize);
    }

    char graphics[GraphicsListSize];
    BuildGraphicsFilterList(graphics, sizeof graphics);
    std::string filter = std::string(graphics) + "Bitmaps (*.bmp,*.dib,*.rle)\t*.BMP;*.DIB;*.RLE\t" +
                         "Animations (*.1)\t*.1\t" + "All files (*.*)\t *.*\t\t";
    std::replace(filter.begin(), filter.end(), '\t', '\0');

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileBuffer;
    ofn.nMaxFile = BitmapFileBufferSize;
    ofn.lpstrInitialDir = RememberedDirectory;
    BOOL confirmed;
    if (save) {
        ofn.lpstrTitle = "Save Bitmap";
        ofn.Flags = OFN_EXPLORER | OFN_SHOWHELP | OFN_OVERWRITEPROMPT;
        confirmed = GetSaveFileNameA(&ofn);
    } else {
        ofn.lpstrTitle = "Open Bitmap";
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_SHOWHELP;
        confirmed = GetOpenFileNameA(&ofn);
    }
    if (!confirmed) return 0;
    GetCurrentDirectoryA(MAX_PATH, RememberedDirectory);
    return 1;
}
