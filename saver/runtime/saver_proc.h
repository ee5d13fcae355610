#pragma once
// The saver window's procedure (ScreenSaverProc, declared by the framework)
// and its state.  Everything here runs on the window thread.
#include "platform/win32.h"

// After a display-mode switch, mouse moves come in bursts of at most 2000 ms;
// within the first 8000 ms of the run a burst must hold more than 19 counted
// moves to count as the user's, later more than 5.
constexpr DWORD MoveBurstMs = 2000;
constexpr DWORD EarlyPhaseMs = 8000;
constexpr DWORD EarlyMovesBefore = 18;
constexpr DWORD LateMovesBefore = 4;

// The exit code when the procedure meets an exception.
constexpr int ProcedureFailedExitCode = 43;

extern DWORD TestMode;
extern char SavedActive[MAX_PATH];
extern DWORD StartTime;
extern DWORD InputSeen;
extern DWORD MoveBurstStart;
extern DWORD MoveCount;
extern DWORD IgnoreMouse;
extern DWORD DrawingPaused;
extern DWORD PalettePaused;

// The message handlers behind ScreenSaverProc.
LRESULT OnCreate(HWND window);
LRESULT OnDestroy(HWND window);
LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnKeyDown(HWND window, WPARAM key, LPARAM lParam);
