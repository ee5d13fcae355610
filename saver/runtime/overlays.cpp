#include "saver/runtime/overlays.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "saver/settings/key_paths.h"
#include "saver/settings/registry_access.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_block.h"

HDC OverlayDC = nullptr;
HWND OverlayWindow = nullptr;
RECT ClientRect{};
DWORD FullScreen = 0;
OverlayBox CdBox{{}, BoxHidden};
OverlayBox NameBox{{}, BoxHidden};
OverlayBox SloganBox{{}, BoxHidden};
DWORD LastCdSerial = BoxHidden;
char LastName[256];
char SloganText[SloganBytes];
DWORD SloganEnabled = 0;
DWORD SloganShowTime = 0;

namespace {

// "Past" is an unsigned comparison of tick counts.
bool Past(DWORD now, DWORD time) { return now > time; }

void EraseBox(OverlayBox& box) {
    SelectClipRgn(OverlayDC, nullptr);
    FillRect(OverlayDC, &box.rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    box.hideTime = BoxHidden;
    ExcludeShownBoxes();
}

// Draws the box when it fits; a box that does not fit is not shown at all,
// and its rectangle is kept only once it is drawn, so that erasing never
// blanks a place where no box ever stood.
void ShowBox(OverlayBox& box, const RECT& rect, bool fits, const char* text) {
    if (!fits) {
        box.hideTime = BoxHidden;
        return;
    }
    box.rect = rect;
    DrawBox(rect.left, rect.top, rect.right, rect.bottom, text);
}

SIZE TextSize(const char* text) {
    SIZE size{};
    GetTextExtentPoint32A(OverlayDC, text, static_cast<int>(std::strlen(text)), &size);
    return size;
}

}  // namespace

void OverlaySetup(HDC dc, HWND window) {
    OverlayDC = dc;
    OverlayWindow = window;
    GetClientRect(window, &ClientRect);
    FullScreen = ClientRect.right == GetDeviceCaps(dc, HORZRES) && ClientRect.bottom == GetDeviceCaps(dc, VERTRES);
    if (SharedSpectrum) SharedSpectrum->set(spectrum::fullScreen, FullScreen);
    SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    CdBox = OverlayBox{{}, BoxHidden};
    NameBox = OverlayBox{{}, BoxHidden};
    SloganBox = OverlayBox{{}, BoxHidden};
    LastCdSerial = BoxHidden;
    LastName[0] = 0;
    SloganShowTime = 0;
}

void LoadSlogan() {
    // Setup stores slogans of up to 255 characters; the box shows the first 79.
    SloganEnabled = ReadSaverValuePrefix("Slogan", SaverKeyWord, SloganText, SloganBytes) ? 1 : 0;
    SloganText[SloganBytes - 1] = 0;
}

void UpdateCdBox() {
    SpectrumBlock* block = SharedSpectrum;
    if (!block || !block->get(spectrum::running)) return;
    DWORD now = GetTickCount();
    DWORD serial = block->get(spectrum::cdSerial);
    if (Past(now, CdBox.hideTime) || serial != LastCdSerial) EraseBox(CdBox);
    if (!SaverOptions.ShowInfo || serial == LastCdSerial) return;
    CdBox.hideTime = now + CdBoxMs;
    LastCdSerial = serial;
    // The analyser's second line is the title: it goes first.
    std::string lines[3] = {block->get(spectrum::cdText2), block->get(spectrum::cdText1),
                            block->get(spectrum::cdText3)};
    if (lines[0].empty()) {
        CdBox.hideTime = BoxHidden;
        return;
    }
    LONG widest = 0;
    LONG lineHeight = 0;
    for (int i = 0; i < 3; ++i) {
        SIZE size = TextSize(lines[i].c_str());
        if (size.cx > widest) widest = size.cx;
        if (i == 0) lineHeight = size.cy;
    }
    LONG width = widest + 58;
    LONG height = 3 * lineHeight + 44;
    RECT rect{0, ClientRect.bottom - height, width, ClientRect.bottom};
    char text[3 * 64 + 3];
    std::snprintf(text, sizeof text, "%s\n%s\n%s", lines[0].c_str(), lines[1].c_str(), lines[2].c_str());
    ShowBox(CdBox, rect, rect.top > 50 && rect.right < ClientRect.right - 40, text);
}

void UpdateNameBox() {
    if (!SaverOptions.ShowName) return;
    DWORD now = GetTickCount();
    bool changed = std::strcmp(CurrentDisplayName, LastName) != 0;
    if (Past(now, NameBox.hideTime) || changed) EraseBox(NameBox);
    if (!changed) return;
    NameBox.hideTime = now + SaverOptions.ShowName * 1000;
    SIZE size = TextSize(CurrentDisplayName);
    LONG half = size.cx / 2 + 29;
    LONG centre = ClientRect.right / 2;
    RECT rect{centre - half, 0, centre + half, size.cy + 44};
    ShowBox(NameBox, rect, rect.left >= 51 && rect.bottom < ClientRect.bottom - 40, CurrentDisplayName);
    std::memcpy(LastName, CurrentDisplayName, sizeof LastName);
    LastName[sizeof LastName - 1] = 0;
}

void UpdateSloganBox() {
    if (!SloganEnabled) return;
    DWORD now = GetTickCount();
    if (Past(now, SloganBox.hideTime)) {
        EraseBox(SloganBox);
        SloganEnabled = 0;
        return;
    }
    if (!Past(now, SloganShowTime)) return;
    SloganShowTime = BoxHidden;
    SloganBox.hideTime = now + SloganBoxMs;
    SIZE size = TextSize(SloganText);
    RECT rect{ClientRect.right - (size.cx + 58), ClientRect.bottom - (size.cy + 44), ClientRect.right,
              ClientRect.bottom};
    ShowBox(SloganBox, rect, rect.top >= 51 && rect.left >= 41, SloganText);
}

void DrawBox(int left, int top, int right, int bottom, const char* text) {
    RECT outer{left, top, right, bottom};
    DrawEdge(OverlayDC, &outer, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    RECT raised{left + 8, top + 8, right - 8, bottom - 8};
    DrawEdge(OverlayDC, &raised, EDGE_RAISED, BF_RECT);
    RECT etched{left + 6, top + 6, right - 6, bottom - 6};
    DrawEdge(OverlayDC, &etched, EDGE_ETCHED, BF_RECT);
    SetBkMode(OverlayDC, TRANSPARENT);
    RECT textRect{left + 8, top + 8, right - 8, bottom - 8};
    DrawTextA(OverlayDC, text, -1, &textRect, DT_CENTER | DT_VCENTER);
    ExcludeShownBoxes();
}

void ExcludeShownBoxes() {
    for (const OverlayBox* box : {&CdBox, &NameBox, &SloganBox}) {
        if (box->hideTime != BoxHidden) {
            ExcludeClipRect(OverlayDC, box->rect.left, box->rect.top, box->rect.right, box->rect.bottom);
        }
    }
}
