#pragma once
// The picture of the version dialog: a page of code under the product's magnifier.

#include "host/bitmap.h"

namespace trawlex::addin {

inline constexpr int kProductPictureWidth = 110;
inline constexpr int kProductPictureHeight = 84;

host::Bitmap ProductPicture();

}  // namespace trawlex::addin
