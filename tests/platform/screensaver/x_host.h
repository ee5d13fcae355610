#pragma once
// X windows standing in for a preview's host, on the display named by
// DISPLAY (the test's own X server).  Kept apart from the platform headers:
// Xlib's names clash with them.
#include <string>
#include <sys/types.h>

namespace xhost {

// On the display named by DISPLAY.  Windows are mapped, top level.
unsigned long CreateHostWindow(int width, int height);
void ResizeHostWindow(unsigned long window, int width, int height);
void DestroyHostWindow(unsigned long window);
// A small window of another program with a title and a WM_CLASS (instance
// "vexdock"), that accepts the window manager's close request.  Named
// windows have a connection of their own.
unsigned long CreateNamedWindow(const char* title, const char* className);
// Whether a close request (WM_DELETE_WINDOW) has come for the window.
bool CloseRequested(unsigned long window);
// Closes the named windows' connection, which takes them away; before
// their server ends.
void EndNamedWindows();
// The colour shown at a point of the root window, as 0xRRGGBB.
unsigned long ScreenPixel(int x, int y);

}  // namespace xhost
