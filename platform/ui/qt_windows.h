#pragma once
// Which Qt widget shows a window handle, so that a dialog opens over its
// owner and GetActiveWindow can answer with a handle.  The window kinds that
// Qt shows register their widget on the GUI thread while they exist.
#include "platform/types.h"

class QWidget;

namespace platform {

void registerWindowWidget(HWND window, QWidget* widget);
void forgetWindowWidget(HWND window);

// The widget showing `window`; null for a null, unknown or destroyed one.
// GUI thread only.
QWidget* widgetForWindow(HWND window);
// The handle a widget shows, or null when it shows none.
HWND windowForWidget(const QWidget* widget);

}  // namespace platform
