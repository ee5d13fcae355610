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

// The packed DIB of the first bitmap record (bitmap copy, stretched copy,
// DIB to device, stretched DIB) of a metafile `size` bytes long, and the
// bytes left in that record, or null when the metafile has none before its
// end.  Every size in the metafile is checked against `size`.
const BYTE* FindEmbeddedDib(const BYTE* metafile, SIZE_T size, SIZE_T* dibSize);

// Finds the filter for the file, loads it, imports, and takes the bitmap out
// of the metafile.  Null on any failure, with nothing left loaded or
// allocated; the filter is unloaded again either way.
ImportedDib* ImportWithFilter(const char* file);
void FreeImportedDib(ImportedDib* imported);
