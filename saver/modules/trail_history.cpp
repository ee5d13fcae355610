#include "saver/modules/trail_history.h"

void* AllocateHistory(HGLOBAL* memory, SIZE_T bytes) {
    *memory = GlobalAlloc(GHND, bytes);
    void* block = GlobalLock(*memory);
    if (block == nullptr) {
        OutputDebugStringA("Could not allocate buffers");
    }
    return block;
}

void FreeHistory(HGLOBAL* memory) {
    if (*memory != nullptr) {
        GlobalUnlock(*memory);
        GlobalFree(*memory);
    }
    *memory = nullptr;
}
