#pragma once
// Host pictures to and from Qt images.

#include <QImage>

#include "host/bitmap.h"

namespace trawlex::vbide {

// A null image for an empty or malformed bitmap.
QImage ImageOfBitmap(const host::Bitmap& bitmap);
host::Bitmap BitmapOfImage(const QImage& image);

}  // namespace trawlex::vbide
