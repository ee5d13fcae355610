#include "platform/ui/requests.h"

#include <filesystem>
#include <system_error>

#include "platform/ui/ui.h"

namespace platform {

namespace {

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

DialogStart dialogStart(const FileDialogRequest& request) {
    DialogStart start;
    std::string fileDirectory;
    const std::string& file = request.initialFile;
    std::size_t separator = file.find_last_of("/\\");
    if (separator == std::string::npos) {
        start.name = file;
    } else {
        fileDirectory = separator == 0 ? file.substr(0, 1) : file.substr(0, separator);
        start.name = file.substr(separator + 1);
    }
    // Like the Windows dialog, a directory that does not exist is passed
    // over rather than refused.
    if (isDirectory(fileDirectory)) {
        start.directory = fileDirectory;
    } else if (isDirectory(request.initialDirectory)) {
        start.directory = request.initialDirectory;
    } else {
        std::error_code ec;
        start.directory = std::filesystem::current_path(ec).string();
    }
    if (start.name.find_first_of("*?") != std::string::npos) start.name.clear();
    return start;
}

std::vector<int> messageBoxAnswers(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {};
    }
}

int dismissAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    default: return IDCANCEL;
    }
}

}  // namespace platform
