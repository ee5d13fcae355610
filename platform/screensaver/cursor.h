#pragma once
// Lets the saver window follow ShowCursor's counter.
#include <functional>

namespace platform::saver {

// Called (on the thread that called ShowCursor) with the new visibility.
void SetCursorListener(std::function<void(bool visible)> onChange);
bool CursorVisible();
int CursorCount();
// Puts the counter back after a run (and tells the listener).
void SetCursorCount(int count);

}  // namespace platform::saver
