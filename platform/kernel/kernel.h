#pragma once
// Kernel services with Win32 names, types and semantics: ticks and sleeping,
// the C library's random generator, threads and priorities, critical
// sections, named file mappings, files and directories, profile (INI) files,
// program start, debug output, version and global memory.
//
// Differences from Win32 that callers may notice:
// - SuspendThread is cooperative: the target parks at its next suspension
//   point (Sleep, WaitForSingleObject, GdiFlush, AnimatePalette).
// - TerminateThread abandons the thread: its handle is signalled at once and
//   the thread parks forever at its next suspension point.
// - Paths are native Linux paths.  FindFirstFileA never lists "." and "..";
//   subdirectories that match the mask are listed like files.
// - WaitForSingleObject timeouts are real time, also under the test clock.
#include <atomic>
#include <mutex>

#include "platform/types.h"

#ifndef WINAPI
#define WINAPI
#endif

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_INVALID_ADDRESS = 487;

// Threads.
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD MAXIMUM_SUSPEND_COUNT = 127;
constexpr int THREAD_PRIORITY_IDLE = -15;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;
constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;

// Waits.
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// File mappings.
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD FILE_MAP_COPY = 0x0001;
constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;

// Files.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFFu;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

// Show commands (WinExec passes them on; there is no window to show here).
constexpr UINT SW_HIDE = 0;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_NORMAL = 1;
constexpr UINT SW_SHOWMINIMIZED = 2;
constexpr UINT SW_SHOWMAXIMIZED = 3;
constexpr UINT SW_MAXIMIZE = 3;
constexpr UINT SW_SHOWNOACTIVATE = 4;
constexpr UINT SW_SHOW = 5;
constexpr UINT SW_MINIMIZE = 6;
constexpr UINT SW_SHOWMINNOACTIVE = 7;
constexpr UINT SW_SHOWNA = 8;
constexpr UINT SW_RESTORE = 9;
constexpr UINT SW_SHOWDEFAULT = 10;

// Version.
constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// Global memory.
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);

struct OVERLAPPED;  // overlapped I/O is not supported: pass nullptr
using LPOVERLAPPED = OVERLAPPED*;

// Recursive like Win32's.  Initialise before use (a zero-filled global is
// fine to initialise); delete once no thread uses it any more.
struct CRITICAL_SECTION {
    alignas(std::recursive_mutex) unsigned char storage[sizeof(std::recursive_mutex)];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

// A global memory block.  The handle is also the address of the block's
// memory (blocks never move), so GlobalLock returns the handle itself.
struct GlobalMemory;
using HGLOBAL = GlobalMemory*;

// ---------------------------------------------------------------------------
// Errors, time, randomness
// ---------------------------------------------------------------------------

DWORD GetLastError();
void SetLastError(DWORD error);

// Milliseconds since an arbitrary start, wrapping at 2^32.
DWORD GetTickCount();
// A suspension point; Sleep(0) yields the processor.
void Sleep(DWORD milliseconds);

// rand and srand are the C library's names (declared by <cstdlib>); the
// kernel library replaces them for the whole program with one process-wide
// generator that is safe to call from any thread.

// ---------------------------------------------------------------------------
// Threads and processes
// ---------------------------------------------------------------------------

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
BOOL SetPriorityClass(HANDLE process, DWORD priorityClass);
DWORD GetPriorityClass(HANDLE process);
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
DWORD SuspendThread(HANDLE thread);
DWORD ResumeThread(HANDLE thread);
// Waits for a thread to end or an event to be signalled.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
BOOL CloseHandle(HANDLE object);
// The live kernel handles of the current process (the only process whose
// handles are known).
BOOL GetProcessHandleCount(HANDLE process, LPDWORD count);

// Unnamed events only (a name fails with ERROR_NOT_SUPPORTED).
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// Interlocked operations return the new value (Exchange: the old one).
inline LONG InterlockedIncrement(volatile LONG* target) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(target)).fetch_add(1) + 1;
}
inline LONG InterlockedDecrement(volatile LONG* target) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(target)).fetch_sub(1) - 1;
}
inline LONG InterlockedExchange(volatile LONG* target, LONG value) {
    return std::atomic_ref<LONG>(*const_cast<LONG*>(target)).exchange(value);
}

// ---------------------------------------------------------------------------
// File mappings (named shared memory, backed by /dev/shm)
// ---------------------------------------------------------------------------

// Only memory-backed mappings (file = INVALID_HANDLE_VALUE).  GetLastError()
// is ERROR_ALREADY_EXISTS exactly when the named mapping existed; a new
// mapping is zero-filled.
HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES attributes, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCSTR name);
HANDLE OpenFileMappingA(DWORD desiredAccess, BOOL inheritHandle, LPCSTR name);
LPVOID MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
BOOL UnmapViewOfFile(LPCVOID address);

// ---------------------------------------------------------------------------
// Files and directories
// ---------------------------------------------------------------------------

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);

// The mask's last component is matched case-insensitively with '*' and '?';
// "*.*" matches every name.  Either '/' or '\' ends the directory part.
HANDLE FindFirstFileA(LPCSTR mask, LPWIN32_FIND_DATAA data);
BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data);
BOOL FindClose(HANDLE search);

DWORD GetFileAttributesA(LPCSTR path);
// Copies through a temporary file renamed into place, so a half-copied
// destination never appears.
BOOL CopyFileA(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists);
BOOL DeleteFileA(LPCSTR path);
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES attributes);
BOOL RemoveDirectoryA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength);
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);

// The running program's path (module must be null or the program itself).
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// A file name without '/' lives in the Windows directory (root/windows).
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName);

// ---------------------------------------------------------------------------
// Programs, debugging, version, global memory
// ---------------------------------------------------------------------------

// Starts the program detached; > 31 on success, ERROR_FILE_NOT_FOUND when it
// cannot be found or started.
UINT WinExec(LPCSTR commandLine, UINT showCommand);

// Written to stderr only when LUMORA_DEBUG is set.
void OutputDebugStringA(LPCSTR text);

BOOL GetVersionExA(LPOSVERSIONINFOA info);

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);
