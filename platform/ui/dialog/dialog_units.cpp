#include "platform/ui/dialog/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStringList>

namespace platform::dialog {

namespace {

// Rounds like MulDiv: to the nearest, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

bool NamesWindowsUiFont(const QString& face) {
    static const QStringList faces = {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif",
                                      "Tahoma", "Segoe UI", "System"};
    return face.isEmpty() || faces.contains(face, Qt::CaseInsensitive);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    // Windows takes the width of the 52 letters: half of it over 26, rounded.
    int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (letters / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

QFont DialogUnits::TemplateFont(const DLGTEMPLATEA& dialogTemplate) {
    QFont font = QApplication::font();
    if (!(dialogTemplate.style & DS_SETFONT)) return font;
    QString face = dialogTemplate.typeFace ? QString::fromLocal8Bit(dialogTemplate.typeFace) : QString();
    if (NamesWindowsUiFont(face)) return font;
    QFont named(face);
    if (dialogTemplate.pointSize > 0) named.setPointSize(dialogTemplate.pointSize);
    return named;
}

int DialogUnits::toPixelsX(int units) const { return ScaleRounded(units, baseX_, 4); }
int DialogUnits::toPixelsY(int units) const { return ScaleRounded(units, baseY_, 8); }

QRect DialogUnits::toPixels(int x, int y, int cx, int cy) const {
    int left = toPixelsX(x);
    int top = toPixelsY(y);
    return QRect(left, top, toPixelsX(x + cx) - left, toPixelsY(y + cy) - top);
}

}  // namespace platform::dialog
