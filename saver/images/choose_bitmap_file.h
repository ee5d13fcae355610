#pragma once
// The open and save dialog for pictures, listing every type the registered
// import filters read besides bitmaps.
#include "platform/win32.h"

// Characters of the file buffer the bitmap dialog fills.
constexpr DWORD BitmapFileBufferSize = 2043;

// fileBuffer holds BitmapFileBufferSize characters.  When `initialPath`
// names an existing directory the dialog opens there with no name proposed
// (and the next dialog remembers it); otherwise the path is proposed.
// Returns 1 when the user confirmed, 0 when cancelled.
BOOL ChooseBitmapFile(char* fileBuffer, const char* initialPath, BOOL save);
