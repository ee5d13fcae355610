#pragma once
// The graphics import filter interface: the records and entry points of the
// libraries listed under HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Shared Tools\Graphics Filters\Import".  A filter reads
// a picture file and hands back a global memory block holding a metafile
// (platform/gdi/metafile.h).  Filters are shared objects with C entry points
// "GetFilterInfo" and "ImportGr".
#include <cstddef>

#include "platform/kernel/kernel.h"
#include "platform/types.h"

// The filter reports this from GetFilterInfo when it can import.
constexpr int FilterInterfaceVersion = 2;
// The five low bits of FilterFileSpec::flags are the caller's and cleared.
constexpr WORD FilterSpecCallerFlags = 0x001F;

// What file to read.  Fields not named here are passed zeroed.
struct FilterFileSpec {
    WORD flags;
    WORD reserved2;
    WORD reserved4;
    WORD reserved6;           // 0
    CHAR name[MAX_PATH];      // the file's short path
    DWORD reserved268;        // 0
};
static_assert(offsetof(FilterFileSpec, reserved6) == 6 && offsetof(FilterFileSpec, name) == 8 &&
              offsetof(FilterFileSpec, reserved268) == 268 && sizeof(FilterFileSpec) == 272);

// What the filter hands back.  The caller clears `metafile` before the call.
struct FilterPicture {
    HGLOBAL metafile;    // global memory holding the metafile
    RECT frame;          // the picture's extent in metafile units
    WORD unitsPerInch;
    WORD reserved[3];
};

extern "C" {
// (version, configuration string, preference memory received, file types):
// FilterInterfaceVersion when the filter can work.
using GetFilterInfoProc = int (*)(short version, LPSTR configuration, HGLOBAL* preferences, LPVOID fileTypes);
// (device context, file, picture, preference memory): 0 on success.
using ImportGrProc = int (*)(HDC dc, FilterFileSpec* file, FilterPicture* picture, HGLOBAL preferences);
}
