#include "saver/sound/spectrum_link.h"

#include "saver/sound/versions.h"

SpectrumBlock* AttachSpectrumBlock() {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, SpectrumBlockSize,
                                        SpectrumBlockName);
    if (mapping == nullptr) {
        return nullptr;
    }
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    auto* view = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (view == nullptr) {
        CloseHandle(mapping);
        return nullptr;
    }
    auto* block = new SpectrumBlock(view, mapping);
    if (existed) {
        if (block->get(spectrum::blockSize) != SpectrumBlockSize ||
            block->get(spectrum::layoutVersion) != SpectrumLayoutVersion) {
            CloseSpectrumBlock(block);
            return nullptr;
        }
    } else {
        block->clear();
        block->set(spectrum::blockSize, SpectrumBlockSize);
        block->set(spectrum::layoutVersion, SpectrumLayoutVersion);
    }
    return block;
}

SpectrumBlock* OpenSpectrumBlock() {
    SpectrumBlock* block = AttachSpectrumBlock();
    if (block != nullptr) {
        block->set(spectrum::saverMajor, SaverMajorVersion);
        block->set(spectrum::saverMinor, SaverMinorVersion);
        block->set(spectrum::saverBuild, SaverBuildNumber);
    }
    return block;
}

void CloseSpectrumBlock(SpectrumBlock* block) {
    if (block == nullptr) {
        return;
    }
    UnmapViewOfFile(block->view());
    CloseHandle(block->mapping());
    delete block;
}
