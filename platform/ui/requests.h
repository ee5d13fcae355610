#pragma once
// What a message box or file dialog was asked to show, as the backends (Qt
// or the scripted UI of the tests) receive it.
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
};

// One description/patterns pair of a dialog filter, as the caller wrote it
// (patterns still ';'-separated and untrimmed).
struct FileFilter {
    std::string description;
    std::string patterns;
    bool operator==(const FileFilter&) const = default;
};

struct FileDialogRequest {
    bool save = false;
    HWND owner = nullptr;
    std::vector<FileFilter> filters;
    DWORD filterIndex = 0;
    std::string initialFile;       // lpstrFile on entry
    std::string initialDirectory;  // lpstrInitialDir
    std::string title;             // empty: the dialog's own "Open" / "Save As"
    DWORD flags = 0;
    std::string defaultExtension;  // lpstrDefExt
    DWORD maxFile = 0;             // nMaxFile
};

struct FileDialogAnswer {
    bool confirmed = false;
    std::vector<std::string> paths;  // absolute; several only for a multiple selection
    DWORD filterIndex = 0;           // 1-based; 0 keeps the request's
    DWORD error = 0;                 // why the dialog could not be shown
};

// Where a dialog opens: the initial file's directory when it names one,
// else the initial directory, else the current directory; and the name to
// propose (none when it holds wildcards).
struct DialogStart {
    std::string directory;
    std::string name;
};
DialogStart dialogStart(const FileDialogRequest& request);

// The answer a message box gives when it is closed without a button.
int dismissAnswer(UINT type);
// The answers a message box of this type offers, in button order.
std::vector<int> messageBoxAnswers(UINT type);

}  // namespace platform
