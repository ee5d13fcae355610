#include "window_fixture.h"

#include "platform/screensaver/mouse_origin.h"

namespace {

using DefaultProcessing = WindowTest;

TEST_F(DefaultProcessing, KeysButtonsAndDeactivationAskToClose) {
    struct Case {
        UINT message;
        WPARAM wParam;
    };
    for (Case c : {Case{WM_KEYDOWN, 'A'}, Case{WM_SYSKEYDOWN, VK_MENU}, Case{WM_LBUTTONDOWN, 1},
                   Case{WM_RBUTTONDOWN, 2}, Case{WM_MBUTTONDOWN, 0x10}, Case{WM_ACTIVATE, WA_INACTIVE},
                   Case{WM_ACTIVATEAPP, FALSE}}) {
        platform::saver::ResetQueue();
        DefScreenSaverProc(hwnd, c.message, c.wParam, 0);
        EXPECT_TRUE(closeQueued()) << "message " << c.message;
    }
}

TEST_F(DefaultProcessing, ActivationKeyUpsAndOtherMessagesDoNotClose) {
    for (UINT message : {WM_ACTIVATE, WM_ACTIVATEAPP}) DefScreenSaverProc(hwnd, message, WA_ACTIVE, 0);
    DefScreenSaverProc(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
    DefScreenSaverProc(hwnd, WM_KEYUP, 'A', 0);
    DefScreenSaverProc(hwnd, WM_TIMER, 1, 0);
    DefScreenSaverProc(hwnd, WM_PAINT, 0, 0);
    EXPECT_FALSE(closeQueued());
}

TEST_F(DefaultProcessing, MouseMovesCloseOnlyBeyondAFewPixelsFromTheFirst) {
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(102, 98));
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(103, 103));
    EXPECT_FALSE(closeQueued()) << "jitter around the first position";
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 120));
    EXPECT_TRUE(closeQueued());
}

// Where the pointer stood when the window appeared is the origin: the very
// first move already counts.
TEST_F(DefaultProcessing, AKnownPointerPositionMakesTheFirstMoveCount) {
    platform::saver::SetMouseOrigin(hwnd, POINT{50, 50});
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(52, 49));
    EXPECT_FALSE(closeQueued());
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(80, 50));
    EXPECT_TRUE(closeQueued());
}

TEST_F(DefaultProcessing, FirstPositionIsPerWindow) {
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    HWND other = platform::CreateOffscreenWindow(8, 8, std::make_shared<gdi::OffscreenPresenter>());
    // The first move seen in another window only sets that window's origin.
    DefScreenSaverProc(other, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, other, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    platform::DestroyOffscreenWindow(other);
}

TEST_F(DefaultProcessing, PreviewInputBelongsToTheHost) {
    platform::saver::WindowInfo info = *platform::saver::GetWindowInfo(hwnd);
    info.preview = true;
    platform::saver::SetWindowInfo(hwnd, info);
    DefScreenSaverProc(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    DefScreenSaverProc(hwnd, WM_LBUTTONDOWN, 1, 0);
    DefScreenSaverProc(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    DefScreenSaverProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    EXPECT_FALSE(closeQueued());
}

TEST_F(DefaultProcessing, KeyEndsTheRunThroughCloseDestroyAndQuit) {
    ASSERT_TRUE(PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0));
    std::optional<int> quit = pump();
    ASSERT_TRUE(quit.has_value());
    EXPECT_EQ(*quit, 0);
    std::vector<Received> seen = messages();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, WM_KEYDOWN);
    EXPECT_EQ(seen[0].wParam, VK_ESCAPE);
    EXPECT_EQ(seen[1].message, WM_CLOSE);
    EXPECT_EQ(seen[2].message, WM_DESTROY);
    // The destroyed window gets nothing more, and a second close asks nothing.
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    pump();
    EXPECT_EQ(messages().size(), 3u);
}

TEST_F(DefaultProcessing, ProcedureThatHoldsCloseKeepsTheWindow) {
    static int closes = 0;
    closes = 0;
    platform::SetWindowProcedure(hwnd, [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_CLOSE) {
            ++closes;
            return 0;
        }
        return DefScreenSaverProc(window, message, w, l);
    });
    PostMessageA(hwnd, WM_LBUTTONDOWN, 1, 0);
    EXPECT_FALSE(pump().has_value());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(platform::saver::GetWindowInfo(hwnd).has_value());
}

}  // namespace
