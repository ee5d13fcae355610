#pragma once
// Framed text boxes over the animated picture: the CD information published
// by the spectrum analyser, the name of the display now shown, and the
// user's slogan.  A shown box's rectangle is cut out of the Canvas's clipping
// region so that the modules cannot paint over it.
#include "platform/win32.h"

// A hide time that means "not shown".
constexpr DWORD BoxHidden = 0xFFFFFFFF;

struct OverlayBox {
    RECT rect;      // where the box was last drawn
    DWORD hideTime; // tick count after which it is erased
};

constexpr DWORD SloganBytes = 80;
constexpr DWORD CdBoxMs = 4332;
constexpr DWORD SloganBoxMs = 6172;

extern HDC OverlayDC;
extern HWND OverlayWindow;
extern RECT ClientRect;
extern DWORD FullScreen;
extern OverlayBox CdBox;
extern OverlayBox NameBox;
extern OverlayBox SloganBox;
extern DWORD LastCdSerial;
extern char LastName[256];
extern char SloganText[SloganBytes];
extern DWORD SloganEnabled;
extern DWORD SloganShowTime;

// At the start of a run, on the drawing thread: records the Canvas and its
// window, tells the spectrum block whether the window fills the screen and
// selects the stock variable-pitch font.  Every box starts hidden, and the
// first CD information and display name are shown as soon as they are seen.
void OverlaySetup(HDC dc, HWND window);

// Reads the saver key's "Slogan" (at most 79 characters show); the slogan box
// is shown only when the value exists.
void LoadSlogan();

// The per-frame updates, called in this order.
void UpdateCdBox();
void UpdateNameBox();
void UpdateSloganBox();

void DrawBox(int left, int top, int right, int bottom, const char* text);
// Cuts every shown box out of the Canvas's clipping region; a module that
// selects its own clipping region calls it afterwards.
void ExcludeShownBoxes();
