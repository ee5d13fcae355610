#pragma once
// The screen-saver framework: window messages, the message queue of the
// window thread, the saver window's services and the entry points the program
// supplies.
//
// How a run goes: main (in the separate target `platform_screensaver_main`,
// which the program's executable links in addition to `platform_screensaver`)
// reads the switches, creates the saver window (class
// "WindowsScreenSaverClass", private DC) and sends its messages to
// `ScreenSaverProc`.  Messages reach the procedure on the window thread (the
// Qt GUI thread); `PostMessageA` may be called from any thread.  WM_CREATE
// comes before the window shows; a result of -1 destroys the window again
// (WM_DESTROY) and ends the run with exit code 1.  The run ends when the saver
// window has been destroyed or WM_QUIT was taken (a window still there is
// then destroyed, so WM_DESTROY always comes); the exit code is the code of
// the last `PostQuitMessage` (0 without one).  SIGTERM and SIGINT post
// WM_CLOSE; a procedure that holds it back gets one second before the window
// is destroyed anyway (a second signal destroys it at once).
#include <array>
#include <string>

#include "platform/types.h"

// ---------------------------------------------------------------------------
// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_USER = 0x0400;

// WM_ACTIVATE: low word of wParam.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_SIZE: wParam.
constexpr WPARAM SIZE_RESTORED = 0;

// ---------------------------------------------------------------------------
// Virtual keys.  Digits and letters are their ASCII upper-case codes ('0'..'9'
// 48..57, 'A'..'Z' 65..90), as in Win32.
constexpr WPARAM VK_LBUTTON = 0x01;
constexpr WPARAM VK_RBUTTON = 0x02;
constexpr WPARAM VK_CANCEL = 0x03;
constexpr WPARAM VK_MBUTTON = 0x04;
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_CLEAR = 0x0C;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;
constexpr WPARAM VK_PAUSE = 0x13;
constexpr WPARAM VK_CAPITAL = 0x14;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_SELECT = 0x29;
constexpr WPARAM VK_PRINT = 0x2A;
constexpr WPARAM VK_SNAPSHOT = 0x2C;
constexpr WPARAM VK_INSERT = 0x2D;
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_HELP = 0x2F;
constexpr WPARAM VK_LWIN = 0x5B;
constexpr WPARAM VK_RWIN = 0x5C;
constexpr WPARAM VK_APPS = 0x5D;
constexpr WPARAM VK_NUMPAD0 = 0x60;
constexpr WPARAM VK_NUMPAD1 = 0x61;
constexpr WPARAM VK_NUMPAD2 = 0x62;
constexpr WPARAM VK_NUMPAD3 = 0x63;
constexpr WPARAM VK_NUMPAD4 = 0x64;
constexpr WPARAM VK_NUMPAD5 = 0x65;
constexpr WPARAM VK_NUMPAD6 = 0x66;
constexpr WPARAM VK_NUMPAD7 = 0x67;
constexpr WPARAM VK_NUMPAD8 = 0x68;
constexpr WPARAM VK_NUMPAD9 = 0x69;
constexpr WPARAM VK_MULTIPLY = 0x6A;
constexpr WPARAM VK_ADD = 0x6B;
constexpr WPARAM VK_SEPARATOR = 0x6C;
constexpr WPARAM VK_SUBTRACT = 0x6D;
constexpr WPARAM VK_DECIMAL = 0x6E;
constexpr WPARAM VK_DIVIDE = 0x6F;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F2 = 0x71;
constexpr WPARAM VK_F3 = 0x72;
constexpr WPARAM VK_F4 = 0x73;
constexpr WPARAM VK_F5 = 0x74;
constexpr WPARAM VK_F6 = 0x75;
constexpr WPARAM VK_F7 = 0x76;
constexpr WPARAM VK_F8 = 0x77;
constexpr WPARAM VK_F9 = 0x78;
constexpr WPARAM VK_F10 = 0x79;
constexpr WPARAM VK_F11 = 0x7A;
constexpr WPARAM VK_F12 = 0x7B;
constexpr WPARAM VK_NUMLOCK = 0x90;
constexpr WPARAM VK_SCROLL = 0x91;
constexpr WPARAM VK_OEM_1 = 0xBA;       // ;:
constexpr WPARAM VK_OEM_PLUS = 0xBB;    // =+
constexpr WPARAM VK_OEM_COMMA = 0xBC;   // ,<
constexpr WPARAM VK_OEM_MINUS = 0xBD;   // -_
constexpr WPARAM VK_OEM_PERIOD = 0xBE;  // .>
constexpr WPARAM VK_OEM_2 = 0xBF;       // /?
constexpr WPARAM VK_OEM_3 = 0xC0;       // `~
constexpr WPARAM VK_OEM_4 = 0xDB;       // [{
constexpr WPARAM VK_OEM_5 = 0xDC;       // \|
constexpr WPARAM VK_OEM_6 = 0xDD;       // ]}
constexpr WPARAM VK_OEM_7 = 0xDE;       // '"

// ---------------------------------------------------------------------------
// Messages and the window thread's queue.
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
using LPMSG = MSG*;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Queues a message for `hwnd` (any thread).  Fails with
// ERROR_INVALID_WINDOW_HANDLE for a handle that is not a live window; a null
// handle posts a message without a window (seen by PeekMessageA only).
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The first window on the X display with this class (WM_CLASS) and title,
// either of them null for any, compared case-insensitively; null when there
// is none or no display.  Windows of other programs are found too: posting
// WM_CLOSE to one asks it to close, as its window manager's close button
// would.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
// Calls the window's procedure and returns its result.  From another thread
// than the window thread while the saver window's loop runs, the call is
// carried out on the window thread and the caller waits for it.  0 for a
// window without a procedure.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues WM_QUIT with `exitCode` behind everything already posted; it ends the
// saver window's loop, and its code is the process's exit code.
void PostQuitMessage(int exitCode);
// Takes (PM_REMOVE) or looks at the oldest queued message whose window and
// number match (hwnd null: any window; min = max = 0: any message).  Never
// blocks.  Lets code without an event loop (tests, --render) see what was
// posted.
BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
// Hands a message taken from the queue to its window's procedure.
LRESULT DispatchMessageA(const MSG* msg);
// Sends WM_DESTROY to the window's procedure, then takes the window away from
// the screen.  The saver window's run ends once it is destroyed.
BOOL DestroyWindow(HWND hwnd);

// SetWindowPos: the saver window keeps covering the screen (or the preview's
// parent); a new size changes its client rectangle, i.e. the Canvas, and the
// presenter scales the Canvas to the window.  Its position and Z order are
// accepted and ignored.  Dialog controls take the Z order, which is their
// tab order.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

// The process's screen-saver-running flag.
constexpr UINT SPI_SETSCREENSAVERRUNNING = 0x0061;
constexpr UINT SPI_GETSCREENSAVERRUNNING = 0x0072;
// Whether the desktop's screen saver is switched on: the user profile's
// HKEY_CURRENT_USER "Control Panel\Desktop" value "ScreenSaveActive" ("1" or
// "0"), as Windows keeps it.
constexpr UINT SPI_GETSCREENSAVEACTIVE = 0x0010;
constexpr UINT SPI_SETSCREENSAVEACTIVE = 0x0011;
constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
constexpr UINT SPIF_SENDCHANGE = 0x0002;
// SPI_SETSCREENSAVERRUNNING: uiParam is the new flag; pvParam, when not null,
// a BOOL* that receives the previous one.  SPI_GETSCREENSAVERRUNNING: pvParam
// a BOOL* that receives the flag.  SPI_SETSCREENSAVEACTIVE: uiParam is the
// new setting, kept for this session and, with SPIF_UPDATEINIFILE, written to
// the profile.  SPI_GETSCREENSAVEACTIVE: pvParam a BOOL* that receives it.
// Other actions fail (ERROR_INVALID_PARAMETER).
BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);

// Returns 0 once every message queued for the window thread before the call
// has been handled, or WAIT_TIMEOUT (258) after `milliseconds`.  Returns 0 at
// once when no saver window loop runs or when called on the window thread.
DWORD WaitForInputIdle(HANDLE process, DWORD milliseconds);

// The cursor's display counter; the cursor shows over the saver window while
// it is >= 0.  The full-screen saver window starts at -1.
int ShowCursor(BOOL show);

// ---------------------------------------------------------------------------
// The framework's default processing: ends the saver on a key (WM_KEYDOWN,
// WM_SYSKEYDOWN), a mouse button, a mouse move farther than a few pixels from
// the first position seen, or deactivation (WM_ACTIVATE / WM_ACTIVATEAPP with
// a low word of 0), by posting WM_CLOSE; WM_CLOSE destroys the window;
// WM_DESTROY posts WM_QUIT (0); everything else returns 0.  In a preview the
// input belongs to the host window and ends nothing.
LRESULT DefScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Supplied by the program.
LRESULT ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The configuration entry.  The framework calls it once with WM_INITDIALOG
// (wParam 0, lParam 0, hwnd the parent or null); the program shows its
// settings modally and returns when they are closed.  A placeholder that says
// the settings sheet is not built yet is used while the program supplies none.
BOOL ScreenSaverConfigureDialog(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam);
// Called before the configuration entry, with a null instance.
BOOL RegisterDialogClasses(HINSTANCE instance);
// `lumora --render ...`: argv[0] is the program, argv[1] "--render", then the
// render options.  Returns the exit code.
int ScreenSaverRender(int argc, char** argv);

namespace platform {

// The process command line as three words: the program's full path, the
// switch as given ("/s", "-S", "/p", "-root", ...) and the switch's argument:
// after /s the settings file named on the command line, kept whole with any
// blanks in it and without quotes (`lumora /s "Night Sky.LUM"` gives "Night
// Sky.LUM"); empty in every other mode (a preview's window id is the
// framework's).  Words may be longer than any fixed buffer: the caller
// decides what to do with them.
std::array<std::string, 3> CommandLineWords();

// The hack option `-saved-display NAME` (or `--saved-display`, as
// xscreensaver passes single-dash options of commands it runs without a
// shell): the saved display to show instead of the active one; empty when
// not given.
std::string SavedDisplayOption();

// Attaches a window procedure to a window created elsewhere (an offscreen
// window in tests or --render), so DispatchMessageA, SendMessageA and
// DestroyWindow reach it.  A null procedure detaches.
void SetWindowProcedure(HWND hwnd, WNDPROC proc);

}  // namespace platform
