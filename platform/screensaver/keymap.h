#pragma once
// Qt keys as Win32 virtual keys.
#include "platform/types.h"

namespace platform::saver {

// `qtKey` is a Qt::Key; `keypad` whether the key came from the numeric
// keypad.  Keys without a Win32 counterpart give kUnknownVirtualKey.
constexpr WPARAM kUnknownVirtualKey = 0xFF;
WPARAM VirtualKeyFromQt(int qtKey, bool keypad);

}  // namespace platform::saver
