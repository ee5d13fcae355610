#include "saver/images/import_with_filter.h"

#include "saver/images/embedded_dib.h"
#include "saver/images/import_filters.h"

namespace {

template <class Proc>
Proc EntryPoint(HMODULE module, const char* name, const char* decorated) {
    FARPROC proc = GetProcAddress(module, name);
    if (!proc) proc = GetProcAddress(module, decorated);
    // Through the generic function type, as the compiler asks for casts
    // between unrelated function types.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}

ImportedDib* Import(ImportGrProc importGr, const char* file, HGLOBAL preferences) {
    FilterFileSpec source{};
    source.flags &= static_cast<WORD>(~FilterSpecCallerFlags);
    const DWORD length = GetShortPathNameA(file, source.name, sizeof source.name);
    if (length == 0 || length >= sizeof source.name) return nullptr;
    FilterPicture picture{};
    picture.metafile = nullptr;
    if (importGr(nullptr, &source, &picture, preferences) != 0 || !picture.metafile) return nullptr;
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
