#include "addin/command_faces.h"

#include "host/canvas.h"

namespace trawlex::addin {

host::Bitmap CommandFace(int id) {
    if (id != kProductFace && id != kOptionsFace) return {};
    host::Canvas canvas(kFaceSize, kFaceSize, host::kSilver);
    host::DrawMagnifier(canvas, 0, 0, 1);
    if (id == kOptionsFace) host::DrawWrench(canvas, 0, 0, 1);
    return canvas.bitmap();
}

}  // namespace trawlex::addin
