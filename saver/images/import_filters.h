#pragma once
// The graphics import filters registered on the machine: reading their
// registry entries, finding the one for a file, and the filter list of the
// bitmap dialog.
#include "platform/win32.h"

// Under HKEY_LOCAL_MACHINE, one sub-key per filter.
extern const char* const ImportFilterKeyPath;

// Sizes of the buffers the filter's values are read into.
constexpr DWORD FilterExtensionsSize = 40;
constexpr DWORD FilterPathSize = 128;

// The index-th registered filter's "Name", "Extensions" and "Path" into the
// buffers that are given (a null buffer is skipped; a value that does not
// fit, or is missing, reads as empty).  1 when the index exists, else 0.
BOOL ReadImportFilter(DWORD index, char* name, DWORD nameSize, char* extensions, DWORD extensionsSize, char* path,
                      DWORD pathSize);

// The filter library for a file, into `library` (FilterPathSize bytes): the
// first registered filter whose whole "Extensions" equals the file's
// extension (case-insensitively) when its library exists, else
// "JPEGIM32.FLT" for ".jpg" and "PCXIMP32.FLT" for ".pcx".  1 when one was
// found, else 0.
BOOL FindImportFilter(const char* file, char* library);

// "Graphics files\t*.bmp;" with "*.EXT;" for every registered filter and a
// closing tab, or an empty buffer when no filter is registered.  `buffer`
// holds `size` bytes; 1 when at least one filter is registered.
BOOL BuildGraphicsFilterList(char* buffer, DWORD size);
