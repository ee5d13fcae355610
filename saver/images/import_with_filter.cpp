#include "saver/images/import_with_filter.h"

#include <algorithm>

#include "platform/kernel/bytes.h"
#include "saver/images/import_filters.h"

namespace {

using platform::ReadDword;
using platform::ReadWord;

// Where the packed DIB begins in a record of this function, or 0 when the
// record holds no bitmap.
DWORD DibOffset(WORD function) {
    switch (function) {
    case META_DIBBITBLT: return DibBitBltDibOffset;
    case META_DIBSTRETCHBLT: return DibStretchBltDibOffset;
    case META_SETDIBTODEV: return SetDibToDevDibOffset;
    case META_STRETCHDIB: return StretchDibDibOffset;
    default: return 0;
    }
}

constexpr DWORD SmallestRecordWords = 3;  // the size and the function

template <class Proc>
Proc EntryPoint(HMODULE module, const char* name, const char* decorated) {
    FARPROC proc = GetProcAddress(module, name);
    if (!proc) proc = GetProcAddress(module, decorated);
    // Through the generic function type, as the compiler asks for casts
    // between unrelated function types.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

ImportedDib* Import(ImportGrProc importGr, const char* file, HGLOBAL preferences) {
    FilterFileSpec spec{};
    spec.flags &= static_cast<WORD>(~FilterSpecCallerFlags);
    const DWORD length = GetShortPathNameA(file, spec.name, sizeof spec.name);
    if (length == 0 || length >= sizeof spec.name) return nullptr;
    FilterPicture picture{};
    picture.metafile = nullptr;
    if (importGr(nullptr, &spec, &picture, preferences) != 0 || !picture.metafile) return nullptr;
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(picture.metafile));
    SIZE_T dibSize = 0;
    const BYTE* dib = bytes ? FindEmbeddedDib(bytes, GlobalSize(picture.metafile), &dibSize) : nullptr;
    if (!dib) {
        GlobalUnlock(picture.metafile);
        GlobalFree(picture.metafile);
        return nullptr;
    }
    return new ImportedDib{dib, dibSize, picture.metafile};
}

}  // namespace

const BYTE* FindEmbeddedDib(const BYTE* metafile, SIZE_T size, SIZE_T* dibSize) {
    if (!metafile || size < 2 * static_cast<SIZE_T>(MetafileHeaderWords)) return nullptr;
    const SIZE_T end = std::min<ULONGLONG>(size, 2ull * ReadDword(metafile + 6));
    SIZE_T at = 2 * static_cast<SIZE_T>(ReadWord(metafile + 2));
    while (at <= end && end - at >= 2 * SmallestRecordWords) {
        const ULONGLONG bytes = 2ull * ReadDword(metafile + at);
        const WORD function = ReadWord(metafile + at + 4);
        if (bytes < 2 * SmallestRecordWords || bytes > end - at) return nullptr;
        if (const DWORD offset = DibOffset(function)) {
            if (offset >= bytes) return nullptr;
            if (dibSize) *dibSize = static_cast<SIZE_T>(bytes - offset);
            return metafile + at + offset;
        }
        if (function == META_EOF) return nullptr;
        at += static_cast<SIZE_T>(bytes);
    }
    return nullptr;
}

ImportedDib* ImportWithFilter(const char* file) {
    char library[FilterPathSize];
    if (!FindImportFilter(file, library) || library[0] == '\0') return nullptr;
    HMODULE module = LoadLibraryA(library);
    if (!module) return nullptr;
    auto getFilterInfo = EntryPoint<GetFilterInfoProc>(module, "GetFilterInfo", "GetFilterInfo@16");
    auto importGr = EntryPoint<ImportGrProc>(module, "ImportGr", "ImportGr@16");
    ImportedDib* imported = nullptr;
    HGLOBAL preferences = nullptr;
    char configuration[1] = "";
    if (importGr && (!getFilterInfo || getFilterInfo(FilterInterfaceVersion, configuration, &preferences,
                                                     nullptr) == FilterInterfaceVersion))
        imported = Import(importGr, file, preferences);
    if (preferences) GlobalFree(preferences);
    FreeLibrary(module);
    return imported;
}

void FreeImportedDib(ImportedDib* imported) {
    if (!imported) return;
    GlobalUnlock(imported->memory);
    GlobalFree(imported->memory);
    delete imported;
}
