#include "addin/command_faces.h"

#include "addin/canvas.h"

namespace trawlex::addin {

host::Bitmap CommandFace(int id) {
    if (id != kProductFace && id != kOptionsFace) return {};
    Canvas canvas(kFaceSize, kFaceSize, kSilver);
    DrawMagnifier(canvas, 0, 0, 1);
    if (id == kOptionsFace) DrawWrench(canvas, 0, 0, 1);
    return canvas.Picture();
}

}  // namespace trawlex::addin
