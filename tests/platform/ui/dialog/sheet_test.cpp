// Property sheets and wizards on the offscreen platform: when pages are made,
// what they are told and in which order, and how the buttons end the sheet.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include <QListWidget>

#include "platform/ui/qt_session.h"
#include "platform/win32.h"
#include "user_actions.h"

namespace {

using namespace useraction;

struct Event {
    int page;
    std::string what;
    bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* out) { *out << "{" << e.page << ", " << e.what << "}"; }
std::vector<Event> events;
LONG_PTR killAnswer = 0;     // what page 0 answers PSN_KILLACTIVE
LONG_PTR applyAnswer = 0;    // what page 1 answers PSN_APPLY
LONG_PTR nextAnswer = 0;     // what every page answers PSN_WIZNEXT

std::string NotificationName(UINT code) {
    switch (code) {
    case PSN_SETACTIVE: return "setactive";
    case PSN_KILLACTIVE: return "killactive";
    case PSN_APPLY: return "apply";
    case PSN_RESET: return "reset";
    case PSN_HELP: return "help";
    case PSN_WIZNEXT: return "wiznext";
    case PSN_WIZBACK: return "wizback";
    case PSN_WIZFINISH: return "wizfinish";
    case PSN_QUERYCANCEL: return "querycancel";
    default: return "notify";
    }
}

INT_PTR PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(GetWindowLongPtrA(page, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        index = static_cast<int>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        SetWindowLongPtrA(page, DWLP_USER, index);
        events.push_back({index, "init"});
        return TRUE;
    }
    case WM_ACTIVATE:
        events.push_back({index, "activate"});
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_KILLFOCUS) events.push_back({index, "edit lost focus"});
        return TRUE;
    case WM_NOTIFY: {
        UINT code = reinterpret_cast<NMHDR*>(lParam)->code;
        std::string name = NotificationName(code);
        if (code == PSN_APPLY && reinterpret_cast<PSHNOTIFY*>(lParam)->lParam) name += " ok";
        events.push_back({index, name});
        LONG_PTR answer = 0;
        if (code == PSN_KILLACTIVE && index == 0) answer = killAnswer;
        if (code == PSN_APPLY && index == 1) answer = applyAnswer;
        if (code == PSN_WIZNEXT) answer = nextAnswer;
        SetWindowLongPtrA(page, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

const DLGITEMTEMPLATEA PageItems[] = {
    {"EDIT", "", 100, WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 60, 12},
    {"BUTTON", "Press", 101, BS_PUSHBUTTON | WS_TABSTOP, 0, 10, 30, 50, 14},
};
const DLGTEMPLATEA PageTemplate = {DS_SETFONT, 0, 0, 0, 160, 90, "Page", 8, "MS Shell Dlg", PageItems, 2};
const DLGTEMPLATEA WidePageTemplate = {DS_SETFONT, 0, 0, 0, 200, 60, "Wide", 8, "MS Shell Dlg", PageItems, 2};

class SheetTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ensureGuiApplication());
        events.clear();
        killAnswer = applyAnswer = nextAnswer = 0;
        const char* titles[] = {"First", "Second", "Third"};
        for (int i = 0; i < 3; ++i) {
            pages[i] = PROPSHEETPAGEA{};
            pages[i].dwSize = sizeof(PROPSHEETPAGEA);
            pages[i].dwFlags = PSP_DLGINDIRECT | PSP_USETITLE | (i == 1 ? PSP_HASHELP : 0);
            pages[i].pResource = i == 2 ? &WidePageTemplate : &PageTemplate;
            pages[i].pszTitle = titles[i];
            pages[i].pfnDlgProc = PageProc;
            pages[i].lParam = i;
        }
        header = PROPSHEETHEADERA{};
        header.dwSize = sizeof(PROPSHEETHEADERA);
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
        header.pszCaption = "Sheet";
        header.nPages = 3;
        header.nStartPage = 1;
        header.ppsp = pages;
    }
    void TearDown() override {
        if (IsWindow(sheet)) DestroyWindow(sheet);
        Settle();
    }
    void open() {
        sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
        ASSERT_NE(sheet, nullptr);
        platform::widgetForWindow(sheet)->activateWindow();
        Settle();
        events.clear();
    }
    HWND page() { return PropSheet_GetCurrentPageHwnd(sheet); }
    // The events without the focus changes, which pages showing their
    // first edit with the focus bring.
    static std::vector<Event> notices() {
        std::vector<Event> list;
        for (const Event& e : events)
            if (e.what != "edit lost focus") list.push_back(e);
        return list;
    }

    PROPSHEETPAGEA pages[3];
    PROPSHEETHEADERA header;
    HWND sheet = nullptr;
};

// A sheet still open when the program ends goes with the program's static
// objects, whichever of them go first (a sanitizer build sees the fault).
TEST_F(SheetTest, AProgramMayEndWithASheetStillOpen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            open();
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(SheetTest, PagesAreMadeWhenFirstShownAndToldWhenTheyComeAndGo) {
    sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(events, (std::vector<Event>{{1, "init"}, {1, "setactive"}})) << "only the start page is made";
    HWND second = page();
    EXPECT_EQ(GetParent(second), sheet);
    auto* list = qobject_cast<QListWidget*>(platform::widgetForWindow(sheet)->findChild<QListWidget*>());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "Third");
    EXPECT_EQ(list->currentRow(), 1);

    events.clear();
    list->setCurrentRow(2);
    EXPECT_EQ(events, (std::vector<Event>{{1, "killactive"}, {2, "init"}, {2, "setactive"}}));
    EXPECT_FALSE(IsWindowVisible(second));
    EXPECT_TRUE(IsWindowVisible(page()));
    events.clear();
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    EXPECT_EQ(events, (std::vector<Event>{{2, "killactive"}, {1, "setactive"}})) << "made once only";
    EXPECT_EQ(page(), second);
    // Every page has the room of the largest.
    QWidget* shown = platform::widgetForWindow(second)->parentWidget();
    RECT wide{0, 0, 200, 90};
    MapDialogRect(second, &wide);
    EXPECT_EQ(shown->size(), QSize(wide.right, wide.bottom));
}

TEST_F(SheetTest, APageThatRefusesToGoKeepsTheSheetOnIt) {
    header.nStartPage = 0;
    open();
    killAnswer = TRUE;
    EXPECT_FALSE(SendMessageA(sheet, PSM_SETCURSEL, 2, 0));
    EXPECT_EQ(notices(), (std::vector<Event>{{0, "killactive"}}));
    auto* list = platform::widgetForWindow(sheet)->findChild<QListWidget*>();
    list->setCurrentRow(2);
    EXPECT_EQ(list->currentRow(), 0) << "the list follows the page that stays";
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 0);
}

TEST_F(SheetTest, AnEditLosesTheFocusBeforeItsPageIsLeftOrApplied) {
    open();
    HWND edit = GetDlgItem(page(), 100);
    SetFocus(edit);
    Settle();
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{1, "edit lost focus"}));
    EXPECT_EQ(events[1], (Event{1, "killactive"}));

    events.clear();
    SetFocus(GetDlgItem(page(), 100));
    Settle();
    PropSheet_PressButton(sheet, PSBTN_OK);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{0, "edit lost focus"}));
}

TEST_F(SheetTest, OkAppliesEveryPageMadeAndCancelResetsThem) {
    header.dwFlags |= PSH_NOAPPLYNOW;
    open();
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    events.clear();
    applyAnswer = PSNRET_INVALID_NOCHANGEPAGE;
    PropSheet_PressButton(sheet, PSBTN_OK);
    EXPECT_NE(page(), nullptr) << "a page that finds its settings invalid keeps the sheet open";
    applyAnswer = PSNRET_NOERROR;
    events.clear();
    PropSheet_PressButton(sheet, PSBTN_OK);
    EXPECT_EQ(notices(), (std::vector<Event>{{0, "killactive"}, {0, "apply ok"}, {1, "apply ok"}}))
        << "the third page was never made";
    EXPECT_EQ(page(), nullptr) << "closed: the owner destroys it";

    DestroyWindow(sheet);
    open();
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
    EXPECT_EQ(notices(), (std::vector<Event>{{1, "querycancel"}, {1, "reset"}}));
    EXPECT_EQ(page(), nullptr);
}

TEST_F(SheetTest, KeysSwitchPagesRoundTheEndsAndTheSheetsActivationReachesThePage) {
    header.nStartPage = 0;
    open();
    QWidget* face = platform::widgetForWindow(sheet);
    QTest::keyClick(face, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 2);
    EXPECT_EQ(GetFocus(), GetDlgItem(page(), 100)) << "the focus goes to the page's first tab stop";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 0);

    events.clear();
    SendMessageA(sheet, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(events, (std::vector<Event>{{0, "activate"}}));
    // Help follows the page: only the second has it.
    events.clear();
    PropSheet_PressButton(sheet, PSBTN_HELP);
    EXPECT_TRUE(events.empty()) << "the first page has no help";
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    events.clear();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : face, Qt::Key_F1);
    EXPECT_EQ(events, (std::vector<Event>{{1, "help"}}));
}

TEST_F(SheetTest, AWizardMovesWithItsButtonsAndAModalOneReturnsWhenFinished) {
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_MODELESS;
    header.nStartPage = 0;
    open();
    EXPECT_EQ(platform::widgetForWindow(sheet)->findChild<QListWidget*>(), nullptr) << "a wizard lists no pages";
    nextAnswer = -1;
    PropSheet_PressButton(sheet, PSBTN_NEXT);
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 0);
    nextAnswer = 0;
    PropSheet_PressButton(sheet, PSBTN_NEXT);
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 1);
    PropSheet_SetWizButtons(sheet, PSWIZB_BACK);
    events.clear();
    PropSheet_PressButton(sheet, PSBTN_NEXT);
    EXPECT_TRUE(notices().empty()) << "Next is disabled";
    PropSheet_PressButton(sheet, PSBTN_BACK);
    EXPECT_EQ(static_cast<int>(GetWindowLongPtrA(page(), DWLP_USER)), 0);
    PropSheet_SetWizButtons(sheet, PSWIZB_FINISH);
    events.clear();
    PropSheet_PressButton(sheet, PSBTN_FINISH);
    EXPECT_EQ(notices(), (std::vector<Event>{{0, "wizfinish"}}));
    EXPECT_EQ(page(), nullptr);
}

// Modal: the page presses OK from a posted message, which only a running
// modal loop delivers.
INT_PTR PressingPageProc(HWND page, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) PostMessageA(page, WM_USER + 7, 0, 0);
    if (message == WM_USER + 7) PropSheet_PressButton(GetParent(page), PSBTN_OK);
    return FALSE;
}

TEST_F(SheetTest, AModalSheetRunsUntilOkAndSaysSo) {
    for (PROPSHEETPAGEA& p : pages) p.pfnDlgProc = PressingPageProc;
    header.dwFlags = PSH_PROPSHEETPAGE;
    EXPECT_EQ(PropertySheetA(&header), 1);
    Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
