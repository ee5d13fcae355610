#pragma once
// The window thread's message queue.  Posted messages and calls that other
// threads want run on the window thread wait here in order.  While the saver
// window's Qt loop runs, a waker installed by the loop makes it drain the
// queue; without one (tests, --render) messages wait for PeekMessageA.
#include <functional>
#include <optional>

#include "platform/screensaver/screensaver.h"

namespace platform::saver {

// Installed by the loop on its own thread, which becomes the window thread;
// the waker is called (from any thread, under the queue's lock: it must only
// signal, never block or queue) whenever something was queued.
// Removing it runs the calls still waiting, on the removing thread, so no
// caller stays blocked.
void InstallWaker(std::function<void()> waker);
void RemoveWaker();
bool OnWindowThread();

// Runs everything queued, in order, until the queue is empty (nullopt) or a
// WM_QUIT is taken (its code).
std::optional<int> DrainQueue();

// Runs `call` on the window thread and waits for it; at once when the caller
// is on the window thread or no loop runs.
void RunOnWindowThread(const std::function<void()>& call);

// Drops the queued messages of a window that is going away.
void DiscardMessagesFor(HWND hwnd);

// The code of the last PostQuitMessage, if any since the last reset.
std::optional<int> QuitCode();
// Empties the queue and forgets the quit code (a new run or test).
void ResetQueue();

}  // namespace platform::saver
