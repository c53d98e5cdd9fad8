#include "updater/update_face.h"

#include "host/canvas.h"

namespace trawlex::updater {

namespace {

constexpr host::Rgb kArrow{0, 144, 48};
constexpr host::Rgb kArrowEdge{0, 80, 24};
constexpr host::Rgb kTray{0, 0, 128};

}  // namespace

host::Bitmap UpdateFace(int id) {
    if (id != kUpdateFace) return {};
    host::Canvas canvas(16, 16, host::kSilver);
    // The arrow's shaft and head, outlined, then the tray it points into.
    canvas.Rectangle(5, 1, 6, 6, kArrowEdge);
    canvas.Rectangle(6, 1, 4, 6, kArrow);
    for (int row = 0; row < 5; ++row) {
        canvas.Rectangle(2 + row, 7 + row, 12 - 2 * row, 1, kArrowEdge);
        if (row < 4) canvas.Rectangle(3 + row, 7 + row, 10 - 2 * row, 1, kArrow);
    }
    canvas.Rectangle(1, 13, 14, 2, kTray);
    canvas.Rectangle(1, 10, 2, 3, kTray);
    canvas.Rectangle(13, 10, 2, 3, kTray);
    return canvas.bitmap();
}

}  // namespace trawlex::updater
