// The Win32 side of the file dialogs: reading OPENFILENAMEA, and writing the
// confirmed choice back in the layout callers parse.  The backends only show
// the dialog and return absolute paths.
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/kernel/kernel.h"
#include "platform/ui/backend.h"
#include "platform/ui/ui.h"

namespace {

thread_local DWORD lastDialogError = 0;

std::vector<platform::FileFilter> parseFilter(LPCSTR filter) {
    std::vector<platform::FileFilter> filters;
    if (!filter) return filters;
    const char* p = filter;
    while (*p) {
        platform::FileFilter f;
        f.description = p;
        p += f.description.size() + 1;
        if (!*p) break;  // a description without patterns ends the list
        f.patterns = p;
        p += f.patterns.size() + 1;
        filters.push_back(std::move(f));
    }
    return filters;
}

std::size_t nameOffset(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string directoryOf(const std::string& path) {
    std::size_t offset = nameOffset(path);
    if (offset <= 1) return offset == 1 ? "/" : std::string();
    return path.substr(0, offset - 1);
}

// Offset just after the name's last dot, or npos when the name has none.
std::size_t extensionOffset(const std::string& path) {
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameOffset(path)) return std::string::npos;
    return dot + 1;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// A typed name without an extension gets the default one; an open dialog
// keeps the name as typed when only that file exists.
void addDefaultExtension(std::string& path, const std::string& extension, bool save) {
    if (extension.empty() || extensionOffset(path) != std::string::npos) return;
    std::string extended = path + "." + extension;
    if (save || !fileExists(path) || fileExists(extended)) path = std::move(extended);
}

BOOL runFileDialog(LPOPENFILENAMEA ofn, bool save) {
    lastDialogError = 0;
    if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEA)) {
        lastDialogError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
        lastDialogError = CDERR_INITIALIZATION;
        return FALSE;
    }

    platform::FileDialogRequest request;
    request.save = save;
    request.owner = ofn->hwndOwner;
    request.filters = parseFilter(ofn->lpstrFilter);
    request.filterIndex = ofn->nFilterIndex;
    request.initialFile.assign(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
    if (ofn->lpstrInitialDir) request.initialDirectory = ofn->lpstrInitialDir;
    if (ofn->lpstrTitle) request.title = ofn->lpstrTitle;
    request.flags = ofn->Flags;
    if (ofn->lpstrDefExt) request.defaultExtension = ofn->lpstrDefExt;
    request.maxFile = ofn->nMaxFile;

    platform::FileDialogAnswer answer = platform::activeUiBackend().fileDialog(request);
    if (!answer.confirmed || answer.paths.empty()) {
        lastDialogError = answer.error;
        return FALSE;
    }

    std::vector<std::string>& paths = answer.paths;
    std::string result;
    std::size_t fileOffset;
    std::size_t fileExtension;
    std::string directory = directoryOf(paths.front());
    if (paths.size() == 1) {
        addDefaultExtension(paths.front(), request.defaultExtension, save);
        result = paths.front();
        fileOffset = nameOffset(result);
        std::size_t extension = extensionOffset(result);
        fileExtension = extension == std::string::npos ? result.size() : extension;
        result.push_back('\0');
    } else {
        result = directory;
        result.push_back('\0');
        fileOffset = result.size();
        fileExtension = 0;
        for (const std::string& path : paths) {
            result.append(path, nameOffset(path));
            result.push_back('\0');
        }
        result.push_back('\0');
    }
    if (result.size() > ofn->nMaxFile) {
        lastDialogError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, result.data(), result.size());
    ofn->nFileOffset = static_cast<WORD>(fileOffset);
    ofn->nFileExtension = static_cast<WORD>(fileExtension);
    if (answer.filterIndex != 0) ofn->nFilterIndex = answer.filterIndex;
    if (!directory.empty()) SetCurrentDirectoryA(directory.c_str());
    return TRUE;
}

}  // namespace

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return runFileDialog(ofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return runFileDialog(ofn, true); }

DWORD CommDlgExtendedError() { return lastDialogError; }
