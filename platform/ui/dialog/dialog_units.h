#pragma once
// Dialog units and the font a dialog shows its text in.  A horizontal unit
// is a quarter of the font's average character width, a vertical one an
// eighth of its height, measured the way Windows measures its dialog fonts.
#include <QFont>
#include <QRect>

#include "platform/ui/dialogs.h"

namespace platform::dialog {

class DialogUnits {
public:
    DialogUnits() = default;
    explicit DialogUnits(const QFont& font);

    // The font for a template: the desktop's UI font when the template names
    // a Windows UI font or none, else the named font at the template's size.
    static QFont TemplateFont(const DLGTEMPLATEA& dialogTemplate);

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int cx, int cy) const;

private:
    int baseX_ = 6;
    int baseY_ = 13;
};

}  // namespace platform::dialog
