#pragma once
// An offscreen window with a recording procedure, and a clean message queue
// around each test.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/screensaver/message_queue.h"
#include "platform/screensaver/screensaver.h"
#include "platform/screensaver/window_table.h"

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::thread::id thread;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        platform::saver::ResetQueue();
        received().clear();
        hwnd = platform::CreateOffscreenWindow(64, 48, std::make_shared<gdi::OffscreenPresenter>());
        ASSERT_NE(hwnd, nullptr);
        platform::SetWindowProcedure(hwnd, &WindowTest::Record);
    }
    void TearDown() override {
        platform::SetWindowProcedure(hwnd, nullptr);
        platform::DestroyOffscreenWindow(hwnd);
        platform::saver::ResetQueue();
    }

    // Records the message, then does the framework's default processing.
    static LRESULT Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        {
            std::lock_guard lock(mutex());
            received().push_back({message, wParam, lParam, std::this_thread::get_id()});
        }
        return DefScreenSaverProc(window, message, wParam, lParam);
    }

    static std::vector<Received> messages() {
        std::lock_guard lock(mutex());
        return received();
    }

    // Dispatches every queued message, as the window thread's loop does;
    // returns the WM_QUIT code if one was reached.
    static std::optional<int> pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            DispatchMessageA(&msg);
        }
        return std::nullopt;
    }

    bool closeQueued() {
        MSG msg;
        return PeekMessageA(&msg, hwnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
    }

    HWND hwnd = nullptr;

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<Received>& received() {
        static std::vector<Received> r;
        return r;
    }
};
