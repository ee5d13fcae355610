#pragma once
// The item list shared by combo boxes and list boxes: Win32's sorted
// insertion, case-insensitive searches and per-item data.
#include <QString>
#include <QStringList>

#include "platform/types.h"

namespace platform::dialog {

// Where a new item goes in a sorted list: after every item that does not
// sort after it, comparing without regard to case.
int SortedPosition(const QStringList& items, const QString& text);

// The first item from start + 1 on (wrapping round; start -1 searches from
// the top) that equals `text` (exact) or begins with it, without regard to
// case; -1 when none does.
int FindItem(const QStringList& items, int start, const QString& text, bool exact);

}  // namespace platform::dialog
