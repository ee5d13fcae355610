#pragma once
// Dialogs, their controls and property sheets, with Win32 names, messages and
// semantics, shown with Qt widgets.  Every dialog, page and control is a
// window with a handle: SendMessageA, PostMessageA, DestroyWindow and
// IsWindow work on it, and a test finds each control by its item id.
//
// How it differs from Win32, where a caller may notice:
// - A template is the data structure DLGTEMPLATEA below (with its items in an
//   array), not the packed binary resource layout.  Templates and icons come
//   from the program's resource table (platform::SetProgramResources) or are
//   passed directly.
// - The template's font names a Windows UI font; the dialog uses the
//   desktop's UI font instead, and its dialog base units come from that
//   font's metrics, so a template keeps its proportions at any font size.
// - Each property sheet page is listed beside the page with its icon and
//   title rather than on a row of tabs (seventeen tabs do not fit one row).
//   Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp switch pages and wrap
//   round, and then put the focus on the page's first tab stop.
// - The sheet forwards its own WM_ACTIVATE to the page shown, so a page
//   learns when the user comes back to the sheet.
// - F1 in a sheet presses its Help button when the page has one, and sends
//   WM_HELP (with a HELPINFO) to the page otherwise.
// - Before a page is left and before OK or Apply, the control that has the
//   focus loses it, so an edit's EN_KILLFOCUS always comes before
//   PSN_KILLACTIVE and PSN_APPLY.
// - An up-down control sends UDN_DELTAPOS for every arrow press, also at the
//   end of its range; its default range is 0 (lower) to 100 (upper), so the
//   up arrow always proposes a delta of +1.
// - Edits, combo boxes and list boxes ask their parent for their colours
//   (WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSTATIC for a read-only
//   edit) each time they paint: the text colour the parent sets in the DC
//   and the colour of the brush it returns are the control's text and
//   background; a null brush leaves the control's own colours.  Only solid
//   brushes and text colours are taken.
// - A property sheet passes WM_DISPLAYCHANGE to every page made so far when
//   the screen it shows on changes size.
// - The functions belong to the GUI thread; SendMessageA and PostMessageA
//   reach its windows from other threads while a modal dialog or sheet runs.
#include "platform/screensaver/screensaver.h"
#include "platform/types.h"
#include "platform/ui/ui.h"

// ---------------------------------------------------------------------------
// Handles and resource names.
struct UiIcon;  // an icon made from the program's resources
struct UiMenu;  // never a real menu: CreateWindowExA passes a child id in it
using HICON = UiIcon*;
using HMENU = UiMenu*;

// A resource id in place of a name, as Win32 passes it.
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id)); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0; }

// ---------------------------------------------------------------------------
// Messages beyond those of the screen-saver framework.
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_HELP = 0x0053;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
// wParam the control's DC, lParam the control; the dialog procedure returns
// the brush itself (not through DWLP_MSGRESULT).
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_QUERYNEWPALETTE = 0x030F;
constexpr UINT WM_PALETTECHANGED = 0x0311;

// Mouse messages: lParam holds the position in the receiving window's
// client coordinates (GET_X_LPARAM, GET_Y_LPARAM), wParam the buttons held.
constexpr WPARAM MK_LBUTTON = 0x0001;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;

// Dialog styles.
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;

// Dialog command ids.
constexpr int IDC_STATIC = -1;
// IDOK, IDCANCEL, ... are the MessageBoxA results of ui.h.

// Window data offsets.
constexpr int GWLP_USERDATA = -21;
constexpr int GWLP_ID = -12;
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = 8;
constexpr int DWLP_USER = 16;

// ---------------------------------------------------------------------------
// Buttons: "BUTTON".
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_PUSHLIKE = 0x1000;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

// Statics: "STATIC".
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_SUNKEN = 0x1000;
constexpr UINT STM_SETICON = 0x0170;

// Owner-drawn buttons (BS_OWNERDRAW): the parent draws them.  Whenever the
// button must be shown it sends WM_DRAWITEM (wParam the id, lParam a
// DRAWITEMSTRUCT) with a DC of the button's client area; what the parent
// draws there is what the button shows.  A press sends ODA_SELECT with
// ODS_SELECTED (and ODS_FOCUS) while the button holds the mouse capture; a
// release over the button sends BN_CLICKED, unless the capture was taken
// away in between.
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_FOCUS = 0x0010;
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

// Edits: "EDIT".
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;

// Combo boxes: "COMBOBOX".  The template's height is the height with the
// list dropped down.
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_EDITCHANGE = 5;

// List boxes: "LISTBOX".
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr LRESULT LB_ERR = -1;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;

// Trackbars: TRACKBAR_CLASSA.  A user's move reaches the parent as
// WM_HSCROLL (WM_VSCROLL for TBS_VERT) with the code in the low word of
// wParam, the position in the high word for the thumb codes, and the
// trackbar's handle in lParam.  TBM_SETPOS and the range messages notify no
// one.  A vertical trackbar has its minimum at the top.
inline constexpr char TRACKBAR_CLASSA[] = "msctls_trackbar32";
constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;
constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// Up-down controls: UPDOWN_CLASSA.  With UDS_ALIGNRIGHT (or LEFT) the control
// takes its place at that edge of its buddy, which gives up the room;
// UDS_AUTOBUDDY takes the control created just before as the buddy;
// UDS_ARROWKEYS lets the Up and Down keys in the buddy press the arrows;
// UDS_SETBUDDYINT writes the position into the buddy.  Each press sends
// WM_NOTIFY with UDN_DELTAPOS (an NMUPDOWN) to the parent, then moves the
// position unless the parent returned nonzero, then sends WM_VSCROLL
// (WM_HSCROLL for UDS_HORZ) with SB_THUMBPOSITION and the new position.
inline constexpr char UPDOWN_CLASSA[] = "msctls_updown32";
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr UINT UDM_SETRANGE = WM_USER + 101;  // lParam MAKELONG(upper, lower)
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_ENDSCROLL = 8;

// Progress bars: PROGRESS_CLASSA.
inline constexpr char PROGRESS_CLASSA[] = "msctls_progress32";
constexpr UINT PBM_SETRANGE = WM_USER + 1;  // lParam MAKELPARAM(min, max)
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETPOS = WM_USER + 8;

// ---------------------------------------------------------------------------
// Notifications.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// WM_HELP's lParam: what F1 was pressed on.
struct HELPINFO {
    UINT cbSize;
    int iContextType;
    int iCtrlId;
    HWND hItemHandle;
    DWORD_PTR dwContextId;
    POINT MousePos;
};
using LPHELPINFO = HELPINFO*;
constexpr int HELPINFO_WINDOW = 1;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};
using LPNMUPDOWN = NMUPDOWN*;

// ---------------------------------------------------------------------------
// Templates.  Positions and sizes are in dialog units: a horizontal unit is
// a quarter of the font's average character width, a vertical one an eighth
// of its height.
struct DLGITEMTEMPLATEA {
    LPCSTR className;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX", or a common control class
    LPCSTR text;       // SS_ICON: MAKEINTRESOURCEA(icon id)
    int id;
    DWORD style;  // WS_CHILD and WS_VISIBLE are implied
    DWORD exStyle;
    short x, y, cx, cy;
};

struct DLGTEMPLATEA {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    LPCSTR caption;
    WORD pointSize;  // with DS_SETFONT
    LPCSTR typeFace;
    const DLGITEMTEMPLATEA* items;
    WORD itemCount;
};
using LPCDLGTEMPLATEA = const DLGTEMPLATEA*;

// The dialog procedure: TRUE when it handled the message.  A result other
// than TRUE/FALSE goes into DWLP_MSGRESULT before returning TRUE.
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Dialogs.

// Modal: returns the EndDialog result, or -1 when the dialog cannot be made
// (unknown template, no display).  WM_INITDIALOG carries `initParam`.
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam);
// Modeless: the dialog, shown when its template has WS_VISIBLE; null on
// failure.  A child dialog (WS_CHILD) lies inside its parent.
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam);
HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam);
// Ends a modal dialog once its procedure returns; hides a modeless one.
BOOL EndDialog(HWND dialog, INT_PTR result);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// Leading and trailing blanks are allowed, anything else fails (FALSE in
// *translated, result 0), as does a number beyond 32 bits.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
// Dialog units to pixels with the dialog's own base units.
BOOL MapDialogRect(HWND dialog, LPRECT rect);

// ---------------------------------------------------------------------------
// Windows.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
// SW_HIDE, SW_SHOW...: TRUE when the window was visible before.
BOOL ShowWindow(HWND window, int command);
// TRUE when the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int maxCount);
int GetWindowTextLengthA(HWND window);
HWND GetParent(HWND window);
HWND SetFocus(HWND window);
HWND GetFocus();
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// The window's rectangle in screen coordinates.
BOOL GetWindowRect(HWND window, LPRECT rect);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
BOOL SetForegroundWindow(HWND window);
// Has the window (and what lies in it) painted again, an owner-drawn control
// through WM_DRAWITEM; the rectangle and the erase flag do not narrow it.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);

// The mouse: while a window holds the capture, every mouse move, press and
// release in the program goes to it (WM_MOUSEMOVE, WM_LBUTTONDOWN,
// WM_LBUTTONUP); the window that loses it gets WM_CAPTURECHANGED.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// Where the mouse was at the latest mouse event, in screen coordinates.
BOOL GetCursorPos(POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL PtInRect(const RECT* rect, POINT point);

// Paints the window and its children now, without waiting for the event loop.
BOOL UpdateWindow(HWND window);

// Cursors: only the system's arrow and hourglass.  SetCursor shows the
// cursor over every window of the program until the next SetCursor, and
// returns the one shown before (null: the windows' own).
struct UiCursor;
using HCURSOR = UiCursor*;
inline const LPCSTR IDC_ARROW = MAKEINTRESOURCEA(32512);
inline const LPCSTR IDC_WAIT = MAKEINTRESOURCEA(32514);
// Null (ERROR_RESOURCE_NAME_NOT_FOUND) for any other cursor.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);

// ---------------------------------------------------------------------------
// Icons and common controls.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// ---------------------------------------------------------------------------
// Property sheets and wizards.
struct PROPSHEETPAGEA;
using LPCPROPSHEETPAGEA = const PROPSHEETPAGEA*;

struct PROPSHEETPAGEA {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    LPCSTR pszTemplate;         // the template's name, or
    LPCDLGTEMPLATEA pResource;  // the template itself with PSP_DLGINDIRECT
    HICON hIcon;                // with PSP_USEHICON, or
    LPCSTR pszIcon;             // an icon of the resources with PSP_USEICONID
    LPCSTR pszTitle;            // with PSP_USETITLE, else the template's caption
    DLGPROC pfnDlgProc;
    LPARAM lParam;
};

struct PROPSHEETHEADERA {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    HINSTANCE hInstance;
    HICON hIcon;     // with PSH_USEHICON, or
    LPCSTR pszIcon;  // with PSH_USEICONID
    LPCSTR pszCaption;
    UINT nPages;
    UINT nStartPage;
    LPCPROPSHEETPAGEA ppsp;  // PSH_PROPSHEETPAGE: the pages, copied by the sheet
};
using LPCPROPSHEETHEADERA = const PROPSHEETHEADERA*;

constexpr DWORD PSP_DEFAULT = 0x0000;
constexpr DWORD PSP_DLGINDIRECT = 0x0001;
constexpr DWORD PSP_USEHICON = 0x0002;
constexpr DWORD PSP_USEICONID = 0x0004;
constexpr DWORD PSP_USETITLE = 0x0008;
constexpr DWORD PSP_HASHELP = 0x0020;

constexpr DWORD PSH_DEFAULT = 0x0000;
constexpr DWORD PSH_USEHICON = 0x0002;
constexpr DWORD PSH_USEICONID = 0x0004;
constexpr DWORD PSH_PROPSHEETPAGE = 0x0008;
constexpr DWORD PSH_WIZARD = 0x0020;
constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr DWORD PSH_HASHELP = 0x0200;
constexpr DWORD PSH_MODELESS = 0x0400;

// Notifications a page receives in WM_NOTIFY (from the sheet, idFrom 0).  A
// page answers through DWLP_MSGRESULT: PSN_KILLACTIVE TRUE keeps the page;
// PSN_APPLY PSNRET_INVALID_NOCHANGEPAGE keeps the sheet open on that page;
// PSN_WIZBACK and PSN_WIZNEXT -1 stay on the page; PSN_WIZFINISH nonzero
// keeps the wizard open; PSN_QUERYCANCEL TRUE refuses Cancel.
constexpr UINT PSN_FIRST = static_cast<UINT>(-200);
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;
constexpr UINT PSN_APPLY = PSN_FIRST - 2;
constexpr UINT PSN_RESET = PSN_FIRST - 3;
constexpr UINT PSN_HELP = PSN_FIRST - 5;
constexpr UINT PSN_WIZBACK = PSN_FIRST - 6;
constexpr UINT PSN_WIZNEXT = PSN_FIRST - 7;
constexpr UINT PSN_WIZFINISH = PSN_FIRST - 8;
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;
constexpr LONG_PTR PSNRET_NOERROR = 0;
constexpr LONG_PTR PSNRET_INVALID = 1;
constexpr LONG_PTR PSNRET_INVALID_NOCHANGEPAGE = 2;

// PSN_APPLY's lParam: lParam TRUE when OK was pressed, FALSE for Apply.
struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;
};
using LPPSHNOTIFY = PSHNOTIFY*;

// Messages to the sheet (the parent of every page).
constexpr UINT PSM_SETCURSEL = WM_USER + 101;  // wParam: page index
constexpr UINT PSM_CHANGED = WM_USER + 104;    // wParam: the page; enables Apply
constexpr UINT PSM_CANCELTOCLOSE = WM_USER + 107;
constexpr UINT PSM_QUERYSIBLINGS = WM_USER + 108;
constexpr UINT PSM_UNCHANGED = WM_USER + 109;
constexpr UINT PSM_APPLY = WM_USER + 110;
constexpr UINT PSM_SETTITLEA = WM_USER + 111;
constexpr UINT PSM_SETWIZBUTTONS = WM_USER + 112;  // lParam: PSWIZB_ flags
constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;    // wParam: PSBTN_ code
constexpr UINT PSM_SETFINISHTEXTA = WM_USER + 115;
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
constexpr WPARAM PSBTN_BACK = 0;
constexpr WPARAM PSBTN_NEXT = 1;
constexpr WPARAM PSBTN_FINISH = 2;
constexpr WPARAM PSBTN_OK = 3;
constexpr WPARAM PSBTN_APPLYNOW = 4;
constexpr WPARAM PSBTN_CANCEL = 5;
constexpr WPARAM PSBTN_HELP = 6;
constexpr LPARAM PSWIZB_BACK = 0x1;
constexpr LPARAM PSWIZB_NEXT = 0x2;
constexpr LPARAM PSWIZB_FINISH = 0x4;
constexpr LPARAM PSWIZB_DISABLEDFINISH = 0x8;

// Modal: 1 when closed with OK or Finish, 0 with Cancel, -1 when the sheet
// cannot be made.  PSH_MODELESS: the sheet's handle at once (null on
// failure); once OK or Cancel has closed it, PSM_GETCURRENTPAGEHWND returns
// null and the owner destroys it with DestroyWindow.
INT_PTR PropertySheetA(LPCPROPSHEETHEADERA header);

// The sheet of a page.
inline HWND PropSheet_Parent(HWND page) { return GetParent(page); }
inline void PropSheet_Changed(HWND sheet, HWND page) {
    SendMessageA(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}
inline void PropSheet_SetWizButtons(HWND sheet, LPARAM flags) { SendMessageA(sheet, PSM_SETWIZBUTTONS, 0, flags); }
inline void PropSheet_PressButton(HWND sheet, WPARAM button) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); }
inline HWND PropSheet_GetCurrentPageHwnd(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// ---------------------------------------------------------------------------
// The program's resources.
namespace platform {

// An icon as straight (not premultiplied) 0xAARRGGBB pixels, row by row from
// the top.
struct IconImage {
    int width;
    int height;
    const DWORD* pixels;
};

struct DialogResource {
    LPCSTR name;
    LPCDLGTEMPLATEA dialog;
};

struct IconResource {
    WORD id;
    IconImage image;
};

struct ProgramResources {
    const DialogResource* dialogs;
    int dialogCount;
    const IconResource* icons;
    int iconCount;
};

// Where templates named by a string and icons named by an id are found.  The
// table must outlive every dialog; null removes it.
void SetProgramResources(const ProgramResources* resources);

// The template of that name (compared case-insensitively), or null.
LPCDLGTEMPLATEA FindDialogTemplate(LPCSTR name);

}  // namespace platform
