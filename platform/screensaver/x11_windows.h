#pragma once
// Windows of other clients on the X display (no platform types here: Xlib's
// `Window` would clash with ours).  One search or request at a time: Xlib's
// error handler is process-wide.
namespace platform::saver {

// The first window, depth first from the root, whose WM_CLASS (either word)
// and title (_NET_WM_NAME, else WM_NAME) match, case-insensitively; a null
// name matches any.  0 when there is none or no display.
unsigned long FindX11Window(const char* className, const char* windowName);
// Sends the window manager's close request (WM_DELETE_WINDOW); false when
// the window is gone or there is no display.
bool CloseX11Window(unsigned long id);

}  // namespace platform::saver
