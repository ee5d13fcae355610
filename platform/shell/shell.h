#pragma once
// The shell: the Windows and system directories under the platform root and
// change notifications.  The user's special folders ("Desktop", "Startup")
// are registry values under HKEY_CURRENT_USER
// "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders".
#include <string>

#include "platform/types.h"

// $ROOT/windows and $ROOT/windows/system, created on first use.  The result
// is the path length without the terminating zero, or the buffer size needed
// with it when uSize is too small, or 0 on failure (GetLastError tells why).
UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);
UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);

// Change-notification events and flags.
constexpr LONG SHCNE_RENAMEITEM = 0x00000001;
constexpr LONG SHCNE_CREATE = 0x00000002;
constexpr LONG SHCNE_DELETE = 0x00000004;
constexpr LONG SHCNE_MKDIR = 0x00000008;
constexpr LONG SHCNE_RMDIR = 0x00000010;
constexpr LONG SHCNE_UPDATEDIR = 0x00001000;
constexpr LONG SHCNE_UPDATEITEM = 0x00002000;
constexpr LONG SHCNE_ASSOCCHANGED = 0x08000000;

constexpr UINT SHCNF_IDLIST = 0x0000;
constexpr UINT SHCNF_PATHA = 0x0001;
constexpr UINT SHCNF_PRINTERA = 0x0002;
constexpr UINT SHCNF_DWORD = 0x0003;
constexpr UINT SHCNF_TYPE = 0x00FF;
constexpr UINT SHCNF_FLUSH = 0x1000;
constexpr UINT SHCNF_FLUSHNOWAIT = 0x3000;

// Tells the desktop that something changed.  Nothing here watches for it, so
// the notification is only recorded as a debug message; it never fails.
void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID dwItem2);

namespace platform {

// A program path as the Exec key of a desktop entry takes it, '%' doubled
// (field codes start with it).  A path with a character the key reserves
// goes in double quotes, with '"', '`', '$' and '\' escaped, each backslash
// written twice more since the value's own string escapes come first.
std::string DesktopExecQuoted(const std::string& program);

// Makes a program startable from a folder of the desktop: "<folder>/<file>
// .desktop", an application entry named `name` that runs `program` (no
// arguments), executable as desktops want trusted launchers to be.  A file
// manager shows it on the desktop; in the autostart folder the session starts
// it.  The entry is replaced when it exists.  FALSE when it cannot be
// written.
BOOL WriteDesktopEntry(LPCSTR folder, LPCSTR file, LPCSTR name, LPCSTR program);

}  // namespace platform
