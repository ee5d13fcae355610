#include "filters/qt/qt_decode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

namespace filter {
namespace {

// Qt's own ceiling on one picture's memory, in megabytes.
#ifdef LUMORA_FUZZING
constexpr int kAllocationLimitMb = 16;
#else
constexpr int kAllocationLimitMb = 256;
#endif

bool FromIndexed(const QImage& image, PackedDib& picture) {
    const QList<QRgb> table = image.colorTable();
    std::vector<RGBQUAD> colours;
    for (QRgb c : table) colours.push_back({static_cast<BYTE>(qBlue(c)), static_cast<BYTE>(qGreen(c)),
                                            static_cast<BYTE>(qRed(c)), 0});
    if (!picture.Create(image.width(), image.height(), 8, colours)) return false;
    for (int y = 0; y < image.height(); ++y)
        std::copy_n(image.constScanLine(y), image.width(), picture.row(y));
    return true;
}

bool FromColour(const QImage& image, PackedDib& picture) {
    // Premultiplied, a transparent pixel is black: the picture over black.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (argb.isNull() || !picture.Create(argb.width(), argb.height(), 24)) return false;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        BYTE* out = picture.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            out[3 * x] = static_cast<BYTE>(qBlue(in[x]));
            out[3 * x + 1] = static_cast<BYTE>(qGreen(in[x]));
            out[3 * x + 2] = static_cast<BYTE>(qRed(in[x]));
        }
    }
    return true;
}

}  // namespace

bool DecodeWithQt(const BYTE* data, std::size_t size, PackedDib& picture) {
    if (!data || size == 0 || size > static_cast<std::size_t>(INT_MAX)) return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize declared = reader.size();
    if (declared.isValid() && !WithinLimits(declared.width(), declared.height())) return false;
    const QImage image = reader.read();
    if (image.isNull() || !WithinLimits(image.width(), image.height())) return false;
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= 256) return FromIndexed(image, picture);
    if ((image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) &&
        image.colorCount() <= 256)
        return FromIndexed(image.convertToFormat(QImage::Format_Indexed8), picture);
    return FromColour(image, picture);
}

}  // namespace filter
