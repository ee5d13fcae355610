#include "saver/runtime/run_state.h"

std::atomic<LONG> StopRequested{0};
std::atomic<LONG> PaletteReady{0};
std::atomic<DWORD> FrameCounter{0};
std::atomic<LONG> ModeSwitched{0};
std::atomic<LONG> AnalyserStartedHere{0};
std::atomic<HANDLE> DrawingThread{nullptr};
std::atomic<HANDLE> PaletteThread{nullptr};
HDC Canvas = nullptr;
std::atomic<PaletteSettings*> PaletteEngine{nullptr};
