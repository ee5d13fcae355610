// Dialogs made from templates, on the offscreen platform: the controls by
// item id, the messages their procedures get, and modal runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>

#include "platform/ui/qt_session.h"
#include "platform/win32.h"
#include "user_actions.h"

namespace {

using namespace useraction;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT code = 0;      // WM_NOTIFY
    int delta = 0;      // UDN_DELTAPOS
    LRESULT position = 0;  // a trackbar's TBM_GETPOS when it reported
};

std::vector<Seen> seen;
bool refuseDelta = false;

INT_PTR RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Seen entry{message, wParam, lParam};
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        entry.code = header->code;
        if (header->code == UDN_DELTAPOS) entry.delta = reinterpret_cast<NMUPDOWN*>(lParam)->iDelta;
    }
    if (message == WM_HSCROLL && lParam) entry.position = SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0);
    seen.push_back(entry);
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_NOTIFY && entry.code == UDN_DELTAPOS && refuseDelta) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return FALSE;
}

// The commands of one control, in the order they came.
std::vector<WORD> CommandsFrom(int id) {
    std::vector<WORD> codes;
    for (const Seen& s : seen)
        if (s.message == WM_COMMAND && LOWORD(s.wParam) == id) codes.push_back(HIWORD(s.wParam));
    return codes;
}

const DLGITEMTEMPLATEA Items[] = {
    {"STATIC", "&Name:", IDC_STATIC, SS_LEFT, 0, 7, 9, 30, 8},
    {"EDIT", "", 101, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 40, 7, 80, 12},
    {"BUTTON", "Sp&eed", 102, BS_GROUPBOX, 0, 7, 24, 120, 40},
    {"BUTTON", "One", 103, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 14, 36, 40, 10},
    {"BUTTON", "Two", 104, BS_AUTORADIOBUTTON, 0, 60, 36, 40, 10},
    {"BUTTON", "Loud", 105, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 0, 14, 50, 50, 10},
    {"BUTTON", "&Go", 106, BS_PUSHBUTTON | WS_TABSTOP, 0, 140, 7, 50, 14},
    {"COMBOBOX", "", 107, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, 0, 140, 24, 60, 60},
    {"LISTBOX", "", 108, LBS_NOTIFY | LBS_SORT | WS_TABSTOP, WS_EX_CLIENTEDGE, 140, 44, 60, 40},
    {TRACKBAR_CLASSA, "", 109, TBS_AUTOTICKS | WS_TABSTOP, 0, 7, 70, 120, 14},
    {PROGRESS_CLASSA, "", 110, 0, 0, 7, 90, 120, 8},
    {"BUTTON", "Manual", 111, BS_CHECKBOX | WS_TABSTOP, 0, 140, 90, 50, 10},
    {"COMBOBOX", "", 112, CBS_DROPDOWN | CBS_SORT | WS_TABSTOP, 0, 140, 104, 60, 60},
};
const DLGTEMPLATEA Template = {WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 210, 124, "Test",
                               8, "MS Shell Dlg", Items, static_cast<WORD>(std::size(Items))};

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::ensureGuiApplication());
        seen.clear();
        refuseDelta = false;
        dialog = CreateDialogIndirectParamA(nullptr, &Template, nullptr, RecordingProc, 77);
        ASSERT_NE(dialog, nullptr);
        QWidget* face = platform::widgetForWindow(dialog);
        face->activateWindow();
        for (int i = 0; i < 200 && QApplication::activeWindow() != face; ++i) Settle();
        ASSERT_EQ(QApplication::activeWindow(), face);
    }
    void TearDown() override {
        if (IsWindow(dialog)) DestroyWindow(dialog);
        Settle();
    }
    HWND item(int id) { return GetDlgItem(dialog, id); }

    HWND dialog = nullptr;
};

TEST_F(DialogTest, ControlsSitAtTheirDialogUnitsAndCarryTheirIds) {
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].message, WM_INITDIALOG);
    EXPECT_EQ(seen[0].lParam, 77);
    EXPECT_EQ(reinterpret_cast<HWND>(seen[0].wParam), item(101)) << "the first tab stop";

    for (const DLGITEMTEMPLATEA& entry : Items) {
        if (entry.id == IDC_STATIC) continue;
        HWND control = item(entry.id);
        ASSERT_NE(control, nullptr) << entry.id;
        EXPECT_EQ(GetDlgCtrlID(control), entry.id);
        EXPECT_EQ(platform::widgetForWindow(control)->objectName(), QString::number(entry.id));
    }
    // A unit is a quarter of the average character width and an eighth of
    // the font's height.
    RECT unit{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &unit));
    EXPECT_EQ(unit.bottom, QFontMetrics(platform::widgetForWindow(dialog)->font()).height());
    RECT edit{40, 7, 120, 19};
    MapDialogRect(dialog, &edit);
    EXPECT_EQ(platform::widgetForWindow(item(101))->geometry(),
              QRect(edit.left, edit.top, edit.right - edit.left, edit.bottom - edit.top));
    // A combo box's template height is its dropped-down height.
    RECT combo{140, 24, 200, 84};
    MapDialogRect(dialog, &combo);
    EXPECT_LT(platform::widgetForWindow(item(107))->height(), combo.bottom - combo.top);
}

TEST_F(DialogTest, TabVisitsTheTabStopsInTemplateOrderAndMnemonicsFocusTheNextOne) {
    SetFocus(item(101));
    std::vector<int> visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(GetDlgCtrlID(GetFocus()));
    }
    EXPECT_EQ(visited, (std::vector<int>{103, 105, 106, 107, 108, 109, 111, 112}));

    // "&Name:" gives the focus to the edit after it, the group box "Sp&eed"
    // to the first tab stop after it, and neither shows its '&'.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(GetFocus(), item(101));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(GetFocus(), item(103));
    char text[32];
    GetWindowTextA(item(102), text, sizeof text);
    EXPECT_STREQ(text, "Sp&eed") << "the window text keeps its mnemonic";
}

// SetWindowPos's Z order is the tab order: a control goes first, after a
// sibling, or last; a window that is no sibling is refused.
TEST_F(DialogTest, SetWindowPosMovesAControlInTheTabOrder) {
    constexpr UINT KeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    auto tabs = [&](int from, int count) {
        SetFocus(item(from));
        std::vector<int> visited;
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(GetDlgCtrlID(GetFocus()));
        }
        return visited;
    };
    EXPECT_TRUE(SetWindowPos(item(106), HWND_BOTTOM, 0, 0, 0, 0, KeepPlace));
    EXPECT_EQ(tabs(111, 3), (std::vector<int>{112, 106, 101})) << "last, and the order wraps round to the first";
    EXPECT_TRUE(SetWindowPos(item(112), item(101), 0, 0, 0, 0, KeepPlace));
    EXPECT_EQ(tabs(101, 2), (std::vector<int>{112, 103}));
    EXPECT_TRUE(SetWindowPos(item(109), HWND_TOP, 0, 0, 0, 0, KeepPlace));
    EXPECT_EQ(tabs(106, 2), (std::vector<int>{109, 101}));
    EXPECT_FALSE(SetWindowPos(item(105), dialog, 0, 0, 0, 0, KeepPlace));
    EXPECT_EQ(tabs(103, 1), (std::vector<int>{105})) << "a refused move leaves the order";
}

TEST_F(DialogTest, UserActionsNotifyTheParentAndTheParentsChangesDoNot) {
    Click(item(106));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().message, WM_COMMAND);
    EXPECT_EQ(seen.back().wParam, MAKEWPARAM(106, BN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(seen.back().lParam), item(106));

    Type(item(101), "42");
    std::vector<WORD> edits = CommandsFrom(101);
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.front(), EN_SETFOCUS);
    EXPECT_EQ(edits.back(), EN_KILLFOCUS);
    EXPECT_EQ(std::count(edits.begin(), edits.end(), EN_CHANGE), 2);
    SetDlgItemTextA(dialog, 101, "7");
    EXPECT_EQ(CommandsFrom(101).back(), EN_CHANGE) << "a one-line edit reports WM_SETTEXT too";

    SendDlgItemMessageA(dialog, 107, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
    SendDlgItemMessageA(dialog, 107, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("b"));
    SendDlgItemMessageA(dialog, 107, CB_SETCURSEL, 1, 0);
    EXPECT_TRUE(CommandsFrom(107).empty());
    Choose(item(107), 0);
    EXPECT_EQ(CommandsFrom(107), (std::vector<WORD>{CBN_SELCHANGE}));
    EXPECT_EQ(SendDlgItemMessageA(dialog, 107, CB_GETCURSEL, 0, 0), 0);

    SendDlgItemMessageA(dialog, 109, TBM_SETRANGEMIN, FALSE, 0);
    SendDlgItemMessageA(dialog, 109, TBM_SETRANGEMAX, FALSE, 20);
    SendDlgItemMessageA(dialog, 109, TBM_SETPOS, TRUE, 5);
    auto scrolls = [] {
        std::vector<Seen> list;
        for (const Seen& s : seen)
            if (s.message == WM_HSCROLL) list.push_back(s);
        return list;
    };
    EXPECT_TRUE(scrolls().empty());
    SetFocus(item(109));
    Key(item(109), Qt::Key_End);
    ASSERT_EQ(scrolls().size(), 2u);
    EXPECT_EQ(LOWORD(scrolls()[0].wParam), TB_BOTTOM);
    EXPECT_EQ(scrolls()[0].position, 20) << "the new position is taken before the parent hears of it";
    EXPECT_EQ(LOWORD(scrolls()[1].wParam), TB_ENDTRACK);
    Drag(item(109), 7);
    std::vector<Seen> all = scrolls();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[2].wParam, MAKEWPARAM(TB_THUMBTRACK, 7));
    EXPECT_EQ(all[3].wParam, MAKEWPARAM(TB_THUMBPOSITION, 7));
    EXPECT_EQ(LOWORD(all[4].wParam), TB_ENDTRACK);
}

TEST_F(DialogTest, RadioGroupsRunFromOneGroupStyleToTheNextAndManualButtonsWaitForTheParent) {
    Click(item(105));
    Click(item(103));
    Click(item(104));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 103), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 104), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 105), BST_CHECKED) << "the check box starts a group of its own";
    Click(item(104));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 104), BST_CHECKED) << "a click never clears an automatic radio button";

    seen.clear();
    Click(item(111));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 111), BST_UNCHECKED);
    EXPECT_EQ(CommandsFrom(111), (std::vector<WORD>{BN_CLICKED}));
    CheckDlgButton(dialog, 111, BST_CHECKED);
    CheckRadioButton(dialog, 103, 104, 103);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 111), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 103), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 104), BST_UNCHECKED);
    EXPECT_EQ(CommandsFrom(111).size(), 1u) << "BM_SETCHECK notifies no one";

    SetFocus(item(103));
    Key(item(103), Qt::Key_Down);
    EXPECT_EQ(GetFocus(), item(104));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 104), BST_CHECKED) << "the arrows move through the group";
}

TEST_F(DialogTest, ListsSortWithoutCaseAndKeepTheSelectionAsWindowsDoes) {
    auto add = [&](int id, UINT message, const char* text) {
        return SendDlgItemMessageA(dialog, id, message, 0, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(add(107, CB_ADDSTRING, "beta"), 0);
    EXPECT_EQ(add(107, CB_ADDSTRING, "Alpha"), 0);
    EXPECT_EQ(add(107, CB_ADDSTRING, "gamma"), 2);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 107, CB_GETCURSEL, 0, 0), CB_ERR) << "adding selects nothing";
    EXPECT_EQ(add(107, CB_FINDSTRINGEXACT, "ALPHA"), 0);
    EXPECT_EQ(add(107, CB_FINDSTRINGEXACT, "alp"), CB_ERR);
    EXPECT_EQ(add(107, CB_FINDSTRING, "GA"), 2);
    char text[32] = {};
    EXPECT_EQ(SendDlgItemMessageA(dialog, 107, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, "beta");

    add(112, CB_ADDSTRING, "Night");
    add(112, CB_ADDSTRING, "Day");
    EXPECT_EQ(GetWindowTextLengthA(item(112)), 0) << "the edit field stays empty";
    SendDlgItemMessageA(dialog, 112, CB_SETCURSEL, 1, 0);
    SetDlgItemTextA(dialog, 112, "Scratch");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 112, CB_GETCURSEL, 0, 0), 1) << "typing leaves the selection";
    GetDlgItemTextA(dialog, 112, text, sizeof text);
    EXPECT_STREQ(text, "Scratch");
    SendDlgItemMessageA(dialog, 112, CB_DELETESTRING, 1, 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 112, CB_GETCURSEL, 0, 0), CB_ERR);
    GetDlgItemTextA(dialog, 112, text, sizeof text);
    EXPECT_STREQ(text, "Scratch");

    add(108, LB_ADDSTRING, "two");
    add(108, LB_ADDSTRING, "One");
    SendDlgItemMessageA(dialog, 108, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(CommandsFrom(108).empty());
    Widget<QListWidget>(item(108))->setCurrentRow(0);
    EXPECT_EQ(CommandsFrom(108), (std::vector<WORD>{LBN_SELCHANGE}));
    EXPECT_EQ(SendDlgItemMessageA(dialog, 108, LB_GETCURSEL, 0, 0), 0);
}

TEST_F(DialogTest, UpDownsSitInTheirBuddyAndProposeEveryPress) {
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "5", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 200, 60, 20,
                                dialog, reinterpret_cast<HMENU>(200), nullptr, nullptr);
    HWND updown = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                  WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 0,
                                  dialog, reinterpret_cast<HMENU>(201), nullptr, nullptr);
    ASSERT_NE(updown, nullptr);
    EXPECT_EQ(GetDlgItem(dialog, 201), updown);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)), edit);
    QRect buddy = platform::widgetForWindow(edit)->geometry();
    QRect arrows = platform::widgetForWindow(updown)->geometry();
    EXPECT_EQ(buddy, QRect(10, 200, 44, 20));
    EXPECT_EQ(arrows, QRect(54, 200, 16, 20));

    SendMessageA(updown, UDM_SETRANGE, 0, MAKELONG(10, 1));
    SendMessageA(updown, UDM_SETPOS, 0, 10);
    auto deltas = [] {
        std::vector<int> list;
        for (const Seen& s : seen)
            if (s.code == UDN_DELTAPOS) list.push_back(s.delta);
        return list;
    };
    Arrow(updown, true);
    EXPECT_EQ(deltas(), (std::vector<int>{1})) << "a press at the end is still proposed";
    EXPECT_EQ(LOWORD(SendMessageA(updown, UDM_GETPOS, 0, 0)), 10);
    Arrow(updown, false);
    EXPECT_EQ(LOWORD(SendMessageA(updown, UDM_GETPOS, 0, 0)), 9);
    EXPECT_EQ(seen.back().message, WM_VSCROLL);
    refuseDelta = true;
    Arrow(updown, false);
    EXPECT_EQ(LOWORD(SendMessageA(updown, UDM_GETPOS, 0, 0)), 9) << "the parent refused the change";
    refuseDelta = false;
    SetFocus(edit);
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(deltas(), (std::vector<int>{1, -1, -1, 1})) << "the buddy's Up key presses the arrow";
}

TEST_F(DialogTest, GetDlgItemIntTakesOnlyAWholeNumber) {
    struct Case {
        const char* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    } cases[] = {
        {"  42 ", FALSE, TRUE, 42},     {"-5", TRUE, TRUE, static_cast<UINT>(-5)}, {"-5", FALSE, FALSE, 0},
        {"4x", TRUE, FALSE, 0},         {"", TRUE, FALSE, 0},                       {"99999999999", TRUE, FALSE, 0},
        {"4294967295", FALSE, TRUE, 4294967295u},
    };
    for (const Case& c : cases) {
        SetDlgItemTextA(dialog, 101, c.text);
        BOOL translated = -1;
        EXPECT_EQ(GetDlgItemInt(dialog, 101, &translated, c.isSigned), c.value) << c.text;
        EXPECT_EQ(translated, c.translated) << c.text;
    }
}

TEST_F(DialogTest, DestroyingADialogDestroysItsControls) {
    HWND edit = item(101);
    ASSERT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(seen.back().message, WM_DESTROY);
}

// A modal dialog delivers posted messages, turns Escape into IDCANCEL and
// returns what EndDialog was given.
INT_PTR ModalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        PostMessageA(dialog, WM_USER + 1, 0, 0);
        return TRUE;
    case WM_USER + 1:
        QTest::keyClick(platform::widgetForWindow(dialog), Qt::Key_Escape);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 42);
        return TRUE;
    default:
        return FALSE;
    }
}

TEST(ModalDialog, RunsUntilEndDialogAndReturnsItsResult) {
    ASSERT_TRUE(platform::ensureGuiApplication());
    const DLGITEMTEMPLATEA buttons[] = {{"BUTTON", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 10, 10, 50, 14}};
    const DLGTEMPLATEA box = {WS_POPUP | WS_CAPTION, 0, 0, 0, 80, 40, "Modal", 0, nullptr, buttons, 1};
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, &box, nullptr, ModalProc, 0), 42);
    Settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// An owner-drawn button whose parent paints it white and, when asked,
// takes the mouse from it at the press.
bool takeCaptureAtPress = false;

INT_PTR OwnerDrawProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Seen entry{message, wParam, lParam};
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        entry.code = item->itemAction;
        entry.delta = static_cast<int>(item->itemState);
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (takeCaptureAtPress && item->itemAction == ODA_SELECT && (item->itemState & ODS_SELECTED))
            SetCapture(dialog);
    }
    if (message != WM_MOUSEMOVE) seen.push_back(entry);
    return message == WM_INITDIALOG || message == WM_DRAWITEM;
}

TEST(OwnerDrawButton, TheParentDrawsItAndAPressCanBeTakenOver) {
    ASSERT_TRUE(platform::ensureGuiApplication());
    const DLGITEMTEMPLATEA items[] = {{"BUTTON", "", 120, BS_OWNERDRAW, 0, 10, 10, 40, 20}};
    const DLGTEMPLATEA dialogTemplate = {WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 0, 0, 80, 50, "Drawn", 8, "MS Shell Dlg",
                                         items, 1};
    seen.clear();
    HWND dialog = CreateDialogIndirectParamA(nullptr, &dialogTemplate, nullptr, OwnerDrawProc, 0);
    ASSERT_NE(dialog, nullptr);
    QWidget* face = platform::widgetForWindow(GetDlgItem(dialog, 120));
    EXPECT_EQ(face->grab().toImage().pixel(3, 3) & 0xFFFFFF, 0xFFFFFFu);

    const QPoint at(5, 5);
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(face->mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(face, &event);
    };
    for (bool takeOver : {false, true}) {
        seen.clear();
        takeCaptureAtPress = takeOver;
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        EXPECT_EQ(GetCapture(), takeOver ? dialog : GetDlgItem(dialog, 120));
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        EXPECT_EQ(GetCapture(), takeOver ? dialog : nullptr);
        ReleaseCapture();
        const auto pressed = std::find_if(seen.begin(), seen.end(), [](const Seen& s) {
            return s.message == WM_DRAWITEM && s.code == ODA_SELECT && (s.delta & ODS_SELECTED);
        });
        EXPECT_NE(pressed, seen.end());
        EXPECT_EQ(CommandsFrom(120), takeOver ? std::vector<WORD>{} : std::vector<WORD>{BN_CLICKED});
        // The release reaches the window that holds the mouse, at its own
        // client position.
        const auto released = std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return s.message == WM_LBUTTONUP; });
        EXPECT_EQ(released != seen.end(), takeOver);
        if (takeOver && released != seen.end()) {
            POINT inDialog{at.x(), at.y()};
            ClientToScreen(GetDlgItem(dialog, 120), &inDialog);
            ScreenToClient(dialog, &inDialog);
            EXPECT_EQ(GET_X_LPARAM(released->lParam), inDialog.x);
            EXPECT_EQ(GET_Y_LPARAM(released->lParam), inDialog.y);
        }
    }
    takeCaptureAtPress = false;
    DestroyWindow(dialog);
    Settle();
}

}  // namespace
