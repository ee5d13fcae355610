#pragma once
// Importing a picture through a graphics import filter: the filter returns
// a metafile, and the bitmap inside it is the picture.
#include "platform/win32.h"

// A packed device-independent bitmap (header, colour table, bits) inside
// the metafile memory a filter returned; FreeImportedDib releases both.
struct ImportedDib {
    const BYTE* dib;
    SIZE_T size;     // bytes from `dib` to the end of its record
    HGLOBAL memory;  // the metafile
};

// Finds the filter for the file, loads it, imports, and takes the bitmap out
// of the metafile.  Null on any failure, with nothing left loaded or
// allocated; the filter is unloaded again either way.
ImportedDib* ImportWithFilter(const char* file);
void FreeImportedDib(ImportedDib* imported);
