#include "vbide/bitmap_image.h"

#include <cstring>

namespace trawlex::vbide {

QImage ImageOfBitmap(const host::Bitmap& b) {
    if (b.Empty() || !b.Valid()) return {};
    QImage image(b.width, b.height, QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(b.width) * 3;
    for (int y = 0; y < b.height; ++y)
        std::memcpy(image.scanLine(y), b.rgb.data() + static_cast<std::size_t>(y) * rowBytes,
                    rowBytes);
    return image;
}

host::Bitmap BitmapOfImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    host::Bitmap b;
    b.width = image.width();
    b.height = image.height();
    const auto rowBytes = static_cast<std::size_t>(b.width) * 3;
    b.rgb.resize(rowBytes * static_cast<std::size_t>(b.height));
    for (int y = 0; y < b.height; ++y)
        std::memcpy(b.rgb.data() + static_cast<std::size_t>(y) * rowBytes, image.constScanLine(y),
                    rowBytes);
    return b;
}

}  // namespace trawlex::vbide
