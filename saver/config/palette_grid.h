#pragma once
// The custom palette page's grid: 236 cells, 16 to a row over 15 rows, each
// filled with its palette entry and framed white when selected.
#include "platform/win32.h"

// Draws the grid on the control through the page's palette and returns the
// index of the cell under `screenPoint` (screen coordinates), or 235 when
// no cell holds it or no point is given.
int DrawPaletteGrid(HWND grid, HPALETTE palette, const POINT* screenPoint, const DWORD* selection);
