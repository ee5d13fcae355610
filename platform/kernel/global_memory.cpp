// Global memory blocks.  Blocks never move, so a handle is the address of
// its memory, as a fixed block is on Win32; a header in front of it keeps the
// size and lock count and marks the block as ours.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/kernel/kernel.h"

namespace {

constexpr std::uint32_t kLiveBlock = 0x474D454Du;

struct alignas(std::max_align_t) BlockHeader {
    std::uint32_t magic;
    UINT flags;
    SIZE_T size;
    std::atomic<LONG> locks;
};

BlockHeader* HeaderOf(HGLOBAL memory) {
    if (!memory) return nullptr;
    auto* header = reinterpret_cast<BlockHeader*>(memory) - 1;
    if (header->magic != kLiveBlock) return nullptr;
    return header;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > SIZE_MAX - sizeof(BlockHeader)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                        : std::malloc(sizeof(BlockHeader) + bytes);
    if (!raw) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* header = new (raw) BlockHeader{kLiveBlock, flags, bytes, {0}};
    return reinterpret_cast<HGLOBAL>(header + 1);
}

LPVOID GlobalLock(HGLOBAL memory) {
    BlockHeader* header = HeaderOf(memory);
    if (!header) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    header->locks.fetch_add(1);
    return memory;
}

BOOL GlobalUnlock(HGLOBAL memory) {
    BlockHeader* header = HeaderOf(memory);
    if (!header) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    LONG locks = header->locks.load();
    while (locks > 0 && !header->locks.compare_exchange_weak(locks, locks - 1)) {
    }
    SetLastError(NO_ERROR);
    return locks > 1 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!memory) return nullptr;
    BlockHeader* header = HeaderOf(memory);
    if (!header) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    header->magic = 0;
    header->~BlockHeader();
    std::free(header);
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    BlockHeader* header = HeaderOf(memory);
    if (!header) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return header->size;
}
