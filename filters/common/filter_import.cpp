#include "filters/common/filter_import.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace filter {
namespace {

bool ReadWholeFile(const char* path, std::vector<BYTE>& data) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > MaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return false;
    data.resize(static_cast<std::size_t>(size));
    return size == 0 || std::fread(data.data(), 1, data.size(), file.get()) == data.size();
}

}  // namespace

int ImportPicture(const FilterFileSpec* file, FilterPicture* picture, Decoder decode) {
    if (!file || !picture) return ImportBadArguments;
    const std::string path(file->name, strnlen(file->name, sizeof file->name));
    std::vector<BYTE> data;
    if (path.empty() || !ReadWholeFile(path.c_str(), data)) return ImportCannotRead;
    PackedDib dib;
    if (!decode(data.data(), data.size(), dib)) return ImportBadData;
    data = std::vector<BYTE>();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, MetafileBytes(dib));
    if (!memory) return ImportNoMemory;
    WriteMetafile(dib, static_cast<BYTE*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    picture->metafile = memory;
    picture->frame = {0, 0, dib.width(), dib.height()};
    picture->unitsPerInch = 96;
    return ImportOk;
}

}  // namespace filter
