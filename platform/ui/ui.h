#pragma once
// Message boxes, the open and save file dialogs and beeps, with Win32 names,
// types and semantics, shown with Qt widgets.
//
// Differences from Win32 that callers may notice:
// - The owner window is recorded but not used: a box or dialog is modal to
//   the whole application.
// - Closing a message box (title-bar button or Escape) answers IDCANCEL, or
//   IDNO for MB_YESNO (Windows offers no way to close such a box; here it
//   counts as No), or IDOK for MB_OK.
// - Without a usable display (no X server, no Wayland socket) nothing is
//   shown: a message box writes "caption: text" to stderr and answers as if
//   it had been closed (so an unattended run never says Yes to a question it
//   did not show); a file dialog fails with CDERR_INITIALIZATION.
// - A file dialog result that does not fit nMaxFile fails with
//   FNERR_BUFFERTOOSMALL and leaves lpstrFile untouched (Windows would write
//   the needed size into its first two bytes).
// - Strings are the program's multi-byte text (UTF-8 on Linux); paths are
//   native paths.  Filter patterns match file names case-insensitively.
#include "platform/types.h"

// MessageBoxA type: one button set, one icon, one default button, options.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;

constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;

constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;

constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// MessageBoxA results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal message box and returns the button chosen, or 0 (with
// GetLastError ERROR_INVALID_PARAMETER) for a button set not listed above.
// A null caption shows "Error"; the text is plain text, never markup.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// The window of this program that the user is working in, when it is one a
// handle names (a window Qt shows for a handle); otherwise null.
HWND GetActiveWindow();

// Whether a key was down when the input being handled now was made: the
// high bit of the result is set for a key held down.  Only VK_SHIFT,
// VK_CONTROL and VK_MENU are known (from the modifiers of the latest input
// event); any other key reads as up.
SHORT GetKeyState(int virtualKey);

// Sounds a beep; the type (0, MB_ICON..., 0xFFFFFFFF) does not change the
// sound.  Never fails.
BOOL MessageBeep(UINT type);

// OPENFILENAMEA.Flags.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

// CommDlgExtendedError codes.
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// The fields the dialogs read and write.  lpstrFilter holds pairs of
// zero-terminated strings (description, patterns separated by ';') and ends
// with an empty string.  On success lpstrFile receives the chosen path or,
// for several files of a multiple selection, the directory, a zero, each
// name followed by a zero, and a final zero; nFileOffset is the offset of
// the (first) name, nFileExtension the offset just after the name's last dot
// (the terminating zero when it has none; 0 for several files), and
// nFilterIndex the 1-based filter shown last.  lpstrDefExt (without a dot) is
// appended to a name that has no extension.  With OFN_PATHMUSTEXIST a name
// typed into a missing folder is refused and the user asked again.
// OFN_HIDEREADONLY and OFN_SHOWHELP are accepted and have no effect.
struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    LPCSTR lpstrFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
};
using LPOPENFILENAMEA = OPENFILENAMEA*;

// The initial lpstrFile may name a directory and a file; its directory then
// replaces lpstrInitialDir, and a name with wildcards is not proposed.  On
// success the current directory becomes the chosen file's directory.  Cancel
// returns FALSE with CommDlgExtendedError 0.
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
// Why the calling thread's last file dialog failed, or 0.
DWORD CommDlgExtendedError();

// WinHelpA commands.
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;
constexpr UINT HELP_KEY = 0x0101;
constexpr UINT HELP_PARTIALKEY = 0x0105;

// Opens a help file's page in the desktop's browser.  The help file is an
// index: plain text, one "keyword<TAB>page" line per topic and a
// "contents<TAB>page" line, pages given relative to the index's folder;
// lines starting with '#' are comments.  A file name without a folder is
// looked for in the Windows directory, as WinHelp does.  HELP_KEY and
// HELP_PARTIALKEY (data: the keyword) open the keyword's page, or the
// contents when no line names the keyword; HELP_CONTENTS, HELP_FINDER and
// HELP_CONTEXT open the contents; HELP_QUIT does nothing.  FALSE when the
// index or its page cannot be read or the browser cannot be started.
BOOL WinHelpA(HWND window, LPCSTR helpFile, UINT command, ULONG_PTR data);

namespace platform {

// One window of a kind per user's platform root, across processes.  True
// when this process now holds the role `name` (until it releases it or
// ends); false when another process holds it: that one is asked to bring
// its windows to the front.
bool ClaimWindowRole(const char* name);
void ReleaseWindowRole(const char* name);

}  // namespace platform

#include "platform/ui/dialogs.h"
