#include "saver/images/choose_file.h"

#include <algorithm>
#include <cstring>
#include <string>

char RememberedDirectory[MAX_PATH];

BOOL ChooseFile(char* fileBuffer, const char* mask, BOOL save) {
    if (RememberedDirectory[0] == 0) GetWindowsDirectoryA(RememberedDirectory, MAX_PATH);

    // Tabs separate the parts and become the zero bytes the dialog expects.
    std::string filter = std::string(mask) + "\t " + mask + "\t" + "All files (*.*)\t *.*\t\t";
    std::replace(filter.begin(), filter.end(), '\t', '\0');

    std::size_t maskLength = std::strlen(mask);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    // Over the window the user is in, so the dialog never opens behind it.
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = fileBuffer;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = mask + (maskLength > 3 ? maskLength - 3 : 0);
    ofn.lpstrInitialDir = RememberedDirectory;

    BOOL confirmed;
    if (save) {
        ofn.Flags = OFN_EXPLORER | OFN_SHOWHELP | OFN_OVERWRITEPROMPT;
        confirmed = GetSaveFileNameA(&ofn);
    } else {
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_SHOWHELP;
        confirmed = GetOpenFileNameA(&ofn);
    }
    if (!confirmed) return 0;
    GetCurrentDirectoryA(MAX_PATH, RememberedDirectory);
    return 1;
}
