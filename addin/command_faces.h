#pragma once
// The faces of the add-in's commands: 16 × 16 pictures on a silver background.

#include "host/bitmap.h"

namespace trawlex::addin {

inline constexpr int kFaceSize = 16;
// The product picture: the face of the search and version commands.
inline constexpr int kProductFace = 101;
// The product picture with a small wrench: the face of the options commands.
inline constexpr int kOptionsFace = 102;

// The face with that id; an empty bitmap for any other id.
host::Bitmap CommandFace(int id);

}  // namespace trawlex::addin
