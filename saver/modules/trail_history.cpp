#include "saver/modules/trail_history.h"

namespace {

constexpr LONG LastColour = 235;

}  // namespace

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

void AdvanceColourWave(LONG& colour, LONG& direction) {
    colour += direction;
    if (colour == LastColour || colour == 0) {
        direction = -direction;
    }
}

bool PastEndTime(DWORD endTime) { return static_cast<LONG>(GetTickCount() - endTime) > 0; }
