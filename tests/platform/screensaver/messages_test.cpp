#include <atomic>
#include <condition_variable>
#include <thread>

#include "platform/kernel/kernel.h"
#include "window_fixture.h"

namespace {

using Messages = WindowTest;

TEST_F(Messages, PostingNeedsALiveWindow) {
    HWND gone = platform::CreateOffscreenWindow(4, 4, std::make_shared<gdi::OffscreenPresenter>());
    platform::DestroyOffscreenWindow(gone);
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
    EXPECT_FALSE(DestroyWindow(gone));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, PeekFiltersByWindowAndRangeAndQuitIsAlwaysSeen) {
    PostMessageA(hwnd, WM_USER + 1, 11, 0);
    PostMessageA(nullptr, WM_USER + 2, 22, 0);
    PostMessageA(hwnd, WM_USER + 3, 33, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_USER + 2, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 33u);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 11u);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE)) << "the windowless message is not this window's";
    PostQuitMessage(43);
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 43u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2);
    EXPECT_EQ(platform::saver::QuitCode(), 43);
}

TEST_F(Messages, DestroyingAWindowDropsItsQueuedMessages) {
    PostMessageA(hwnd, WM_USER, 0, 0);
    PostMessageA(hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(DestroyWindow(hwnd));
    std::vector<Received> seen = messages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_DESTROY);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT) << "only the quit that WM_DESTROY posted is left";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

// The window thread of a running loop: drains when woken, until WM_QUIT.
class LoopThread {
public:
    explicit LoopThread() {
        thread_ = std::thread([this] {
            platform::saver::InstallWaker([this] {
                std::lock_guard lock(mutex_);
                woken_ = true;
                cv_.notify_all();
            });
            {
                std::lock_guard lock(mutex_);
                running_ = true;
                cv_.notify_all();
            }
            for (;;) {
                {
                    std::unique_lock lock(mutex_);
                    cv_.wait(lock, [this] { return woken_; });
                    woken_ = false;
                }
                if (std::optional<int> quit = platform::saver::DrainQueue()) {
                    quitCode_ = *quit;
                    break;
                }
            }
            platform::saver::RemoveWaker();
        });
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return running_; });
        id_ = thread_.get_id();
    }
    int join() {
        thread_.join();
        return quitCode_;
    }
    std::thread::id id() const { return id_; }

private:
    std::thread thread_;
    std::thread::id id_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool woken_ = false;
    bool running_ = false;
    int quitCode_ = -1;
};

TEST_F(Messages, PostedFromOtherThreadsArriveOnTheWindowThreadInOrder) {
    LoopThread loop;
    constexpr int kPerThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < 3; ++t) {
        posters.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i) PostMessageA(hwnd, WM_USER + t, static_cast<WPARAM>(i), 0);
        });
    }
    for (std::thread& poster : posters) poster.join();
    // Everything posted so far is handled before WaitForInputIdle returns.
    EXPECT_EQ(WaitForInputIdle(GetCurrentProcess(), 10000), 0u);
    std::vector<Received> seen = messages();
    ASSERT_EQ(seen.size(), 3u * kPerThread);
    int next[3] = {0, 0, 0};
    for (const Received& r : seen) {
        EXPECT_EQ(r.thread, loop.id());
        int t = static_cast<int>(r.message - WM_USER);
        ASSERT_GE(t, 0);
        ASSERT_LT(t, 3);
        EXPECT_EQ(r.wParam, static_cast<WPARAM>(next[t]++)) << "per-sender order";
    }
    PostQuitMessage(5);
    EXPECT_EQ(loop.join(), 5);
}

TEST_F(Messages, SendFromAnotherThreadRunsOnTheWindowThreadAndReturnsTheResult) {
    static std::thread::id handledOn;
    platform::SetWindowProcedure(hwnd, [](HWND, UINT message, WPARAM w, LPARAM) -> LRESULT {
        handledOn = std::this_thread::get_id();
        return message == WM_USER ? static_cast<LRESULT>(w * 2) : 0;
    });
    LoopThread loop;
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 21, 0), 42);
    EXPECT_EQ(handledOn, loop.id());
    PostQuitMessage(0);
    loop.join();
    // Without a loop the call happens on the caller's thread.
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 4, 0), 8);
    EXPECT_EQ(handledOn, std::this_thread::get_id());
}

TEST_F(Messages, WaitForInputIdleWithoutALoopReturnsAtOnce) {
    PostMessageA(hwnd, WM_USER, 0, 0);
    EXPECT_EQ(WaitForInputIdle(GetCurrentProcess(), 1000), 0u);
}

TEST_F(Messages, SetWindowPosChangesTheClientAreaAndSendsSize) {
    EXPECT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE));
    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    std::vector<Received> seen = messages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, WM_SIZE);
    EXPECT_EQ(seen[0].lParam, MAKELPARAM(640, 480));

    EXPECT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 1, 1, SWP_NOSIZE));
    for (auto [cx, cy] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{100000, 10}}) {
        SetLastError(0);
        EXPECT_FALSE(SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 640);
}

TEST(SystemFlags, ScreenSaverRunningFlagReturnsThePreviousValue) {
    BOOL previous = 7;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0));
    EXPECT_EQ(previous, FALSE);
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0));
    EXPECT_EQ(previous, TRUE);
    BOOL now = 7;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &now, 0));
    EXPECT_EQ(now, FALSE);
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, &now, 0));
}

}  // namespace
