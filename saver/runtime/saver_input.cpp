// The user's input while the saver runs: keys that act on the running
// display, and the filter for the spurious mouse moves of a mode switch.
#include <cstdint>

#include "saver/framework/module_record.h"
#include "saver/palette/palette_settings.h"
#include "saver/runtime/run_state.h"
#include "saver/runtime/saver_proc.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_block.h"

namespace {

void Toggle(DWORD& paused, HANDLE thread) {
    if (paused) {
        ResumeThread(thread);
    } else {
        SuspendThread(thread);
    }
    paused = !paused;
}

// Keys that command the running display; FALSE for every other key.
BOOL RunCommand(WPARAM key) {
    SpectrumBlock* block = SharedSpectrum;
    PaletteSettings* palette = PaletteEngine;
    switch (key) {
    case VK_LEFT:
        if (block) block->add(spectrum::keyHorizontal, -1);
        return TRUE;
    case VK_RIGHT:
        if (block) block->add(spectrum::keyHorizontal, 1);
        return TRUE;
    case VK_UP:
        if (block) block->add(spectrum::keyVertical, 1);
        return TRUE;
    case VK_DOWN:
        if (block) block->add(spectrum::keyVertical, -1);
        return TRUE;
    default:
        break;
    }
    if (key >= '0' && key <= '9') {
        if (block) block->set(spectrum::keyDigit, static_cast<WORD>(key - '0'));
        return TRUE;
    }
    switch (key) {
    case VK_F1:
        if (block) block->set(spectrum::captureRequest, 1);
        break;
    case VK_F2:
        if (block) block->set(spectrum::restartRequest, 1);
        break;
    case VK_F3:
        if (palette) {
            std::lock_guard lock(CurrentPaletteLock);
            for (LONG& effect : palette->effect) effect = EffectCustom;
        }
        KeepScreenColours = 1;
        if (block) block->set(spectrum::captureRequest, 1);
        break;
    case VK_F4:
        if (palette) {
            std::lock_guard lock(CurrentPaletteLock);
            for (DWORD& next : palette->nextChange) next = GetTickCount();
        }
        break;
    case VK_F5:
        Toggle(PalettePaused, PaletteThread);
        Toggle(DrawingPaused, DrawingThread);
        break;
    case VK_F6:
        Toggle(DrawingPaused, DrawingThread);
        break;
    case VK_F7:
        Toggle(PalettePaused, PaletteThread);
        break;
    case VK_F8:
        if (palette) {
            std::lock_guard lock(CurrentPaletteLock);
            for (LONG& direction : palette->value[ParamDirection]) {
                direction = static_cast<LONG>(0u - static_cast<std::uint32_t>(direction));
            }
        }
        break;
    case VK_F9:
        IgnoreMouse = !IgnoreMouse;
        break;
    default:
        return FALSE;
    }
    MessageBeep(0);
    return TRUE;
}

}  // namespace

LRESULT OnKeyDown(HWND window, WPARAM key, LPARAM lParam) {
    if (RunCommand(key)) return 0;
    InputSeen = 1;
    return DefScreenSaverProc(window, WM_KEYDOWN, key, lParam);
}

LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (IgnoreMouse) return 0;
    if (!ModeSwitched) return DefScreenSaverProc(window, WM_MOUSEMOVE, wParam, lParam);
    DWORD now = GetTickCount();
    // The burst window does not slide: it ends 2000 ms after its first move,
    // which itself is not counted.
    if (now - MoveBurstStart >= MoveBurstMs) {
        MoveBurstStart = now;
        MoveCount = 0;
        return 0;
    }
    DWORD before = MoveCount++;
    DWORD needed = now - StartTime < EarlyPhaseMs ? EarlyMovesBefore : LateMovesBefore;
    if (before <= needed) return 0;
    InputSeen = 1;
    return DefScreenSaverProc(window, WM_MOUSEMOVE, wParam, lParam);
}
