#pragma once
// The face of the update command (bitmap resource 101 of the updater library): a green arrow
// pointing down into a tray, 16 × 16 on silver like the main library's faces.

#include "host/bitmap.h"

namespace trawlex::updater {

inline constexpr int kUpdateFace = 101;

// The face with that id; an empty bitmap for any other id.
host::Bitmap UpdateFace(int id = kUpdateFace);

}  // namespace trawlex::updater
