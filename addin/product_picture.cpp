#include "addin/product_picture.h"

#include <iterator>

#include "host/canvas.h"

namespace trawlex::addin {

namespace {

using host::Canvas;
using host::kSilver;
using host::Rgb;

constexpr Rgb kPage{255, 255, 255};
constexpr Rgb kPageEdge{96, 96, 96};
constexpr Rgb kCode{64, 64, 160};
constexpr Rgb kHit{255, 224, 64};

constexpr int kPageLeft = 6;
constexpr int kPageTop = 6;
constexpr int kPageWidth = 64;
constexpr int kPageHeight = 72;
constexpr int kLineStep = 7;
// Lengths of the code lines in pixels, indented like a procedure body.
constexpr int kLineLengths[] = {40, 30, 44, 24, 46, 36, 28, 42, 20};
constexpr int kLineCount = static_cast<int>(std::size(kLineLengths));
constexpr int kHitLine = 4;

}  // namespace

host::Bitmap ProductPicture() {
    Canvas canvas(kProductPictureWidth, kProductPictureHeight, kSilver);
    canvas.Rectangle(kPageLeft - 1, kPageTop - 1, kPageWidth + 2, kPageHeight + 2, kPageEdge);
    canvas.Rectangle(kPageLeft, kPageTop, kPageWidth, kPageHeight, kPage);
    int y = kPageTop + 5;
    int line = 0;
    for (int length : kLineLengths) {
        const int indent = (line == 0 || line + 1 == kLineCount) ? 4 : 10;
        if (line == kHitLine) {
            canvas.Rectangle(kPageLeft + indent - 2, y - 2, length + 4, 6, kHit);
        }
        canvas.Rectangle(kPageLeft + indent, y, length, 2, kCode);
        y += kLineStep;
        ++line;
    }
    // The lens sits over the highlighted line.
    host::DrawMagnifier(canvas, 42, 14, 4.2);
    return canvas.bitmap();
}

}  // namespace trawlex::addin
