#pragma once
// A small drawing surface for the add-ins' pictures: solid shapes on whole pixels, no
// blending, so every picture comes out the same on every machine.

#include <cstdint>

#include "host/bitmap.h"

namespace trawlex::host {

struct Rgb {
    std::uint8_t red, green, blue;
};

inline constexpr Rgb kSilver{192, 192, 192};

// Coordinates are those of pixel centres: pixel (x, y) is covered by a shape when its
// centre (x, y) lies inside it. Whatever falls outside the surface is cut off.
class Canvas {
  public:
    Canvas(int width, int height, Rgb background);

    void Pixel(int x, int y, Rgb colour);
    void Rectangle(int left, int top, int width, int height, Rgb colour);
    void Disc(double centreX, double centreY, double radius, Rgb colour);
    // A line with the given half width and round ends.
    void Segment(double x0, double y0, double x1, double y1, double halfWidth, Rgb colour);

    const Bitmap& bitmap() const { return bitmap_; }

  private:
    template <typename Inside>
    void FillWhere(Inside inside, Rgb colour);

    Bitmap bitmap_;
};

// The product's magnifier, drawn into the box of 16 × 16 units whose top-left corner is at
// (left, top), each unit `scale` pixels.
void DrawMagnifier(Canvas& canvas, double left, double top, double scale);
// A small wrench in the lower right of the same box.
void DrawWrench(Canvas& canvas, double left, double top, double scale);

}  // namespace trawlex::host
