#pragma once
// The object behind an HICON: an icon of the program's resources.
#include <QIcon>

struct UiIcon {
    QIcon icon;
};
