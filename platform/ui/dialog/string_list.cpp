#include "platform/ui/dialog/string_list.h"

namespace platform::dialog {

int SortedPosition(const QStringList& items, const QString& text) {
    int position = 0;
    while (position < items.size() && QString::compare(items[position], text, Qt::CaseInsensitive) <= 0) ++position;
    return position;
}

int FindItem(const QStringList& items, int start, const QString& text, bool exact) {
    int count = static_cast<int>(items.size());
    if (count == 0) return -1;
    int first = start < 0 || start >= count ? 0 : start + 1;
    for (int i = 0; i < count; ++i) {
        int index = (first + i) % count;
        const QString& item = items[index];
        bool match = exact ? QString::compare(item, text, Qt::CaseInsensitive) == 0
                           : item.startsWith(text, Qt::CaseInsensitive);
        if (match) return index;
    }
    return -1;
}

}  // namespace platform::dialog
