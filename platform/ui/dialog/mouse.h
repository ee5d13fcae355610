#pragma once
// The mouse as the windows of the layer see it: the capture and the
// position of the latest mouse event.
#include <QPoint>

namespace platform::dialog {

// Remembers where the mouse was at an event the layer handled (global
// coordinates), for GetCursorPos.
void NoteCursor(const QPoint& global);

}  // namespace platform::dialog
