#include "host/canvas.h"

#include <algorithm>
#include <cmath>

namespace trawlex::host {

namespace {

constexpr Rgb kRim{0, 0, 128};
constexpr Rgb kGlass{200, 236, 255};
constexpr Rgb kGleam{255, 255, 255};
constexpr Rgb kHandle{112, 56, 16};
constexpr Rgb kOutline{0, 0, 0};
constexpr Rgb kSteel{150, 150, 160};

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background) {
    bitmap_.width = std::max(width, 0);
    bitmap_.height = std::max(height, 0);
    bitmap_.rgb.resize(static_cast<std::size_t>(bitmap_.width) * bitmap_.height * 3);
    Rectangle(0, 0, bitmap_.width, bitmap_.height, background);
}

void Canvas::Pixel(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height) return;
    const std::size_t at = (static_cast<std::size_t>(y) * bitmap_.width + x) * 3;
    bitmap_.rgb[at] = colour.red;
    bitmap_.rgb[at + 1] = colour.green;
    bitmap_.rgb[at + 2] = colour.blue;
}

template <typename Inside>
void Canvas::FillWhere(Inside inside, Rgb colour) {
    for (int y = 0; y < bitmap_.height; ++y) {
        for (int x = 0; x < bitmap_.width; ++x) {
            if (inside(static_cast<double>(x), static_cast<double>(y))) Pixel(x, y, colour);
        }
    }
}

void Canvas::Rectangle(int left, int top, int width, int height, Rgb colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) Pixel(x, y, colour);
    }
}

void Canvas::Disc(double centreX, double centreY, double radius, Rgb colour) {
    FillWhere([&](double x, double y) { return std::hypot(x - centreX, y - centreY) <= radius; },
              colour);
}

void Canvas::Segment(double x0, double y0, double x1, double y1, double halfWidth, Rgb colour) {
    FillWhere(
        [&](double x, double y) { return DistanceToSegment(x, y, x0, y0, x1, y1) <= halfWidth; },
        colour);
}

void DrawMagnifier(Canvas& canvas, double left, double top, double scale) {
    auto at = [&](double unit, double origin) { return origin + unit * scale; };
    canvas.Segment(at(9.5, left), at(9.5, top), at(13.8, left), at(13.8, top), 1.3 * scale,
                   kHandle);
    canvas.Disc(at(6, left), at(6, top), 5.3 * scale, kRim);
    canvas.Disc(at(6, left), at(6, top), 3.8 * scale, kGlass);
    canvas.Disc(at(4.6, left), at(4.6, top), 1.0 * scale, kGleam);
}

void DrawWrench(Canvas& canvas, double left, double top, double scale) {
    auto at = [&](double unit, double origin) { return origin + unit * scale; };
    // Outline first, then the steel over it, then the open jaw cut out of the head.
    canvas.Segment(at(7.8, left), at(14.6, top), at(11.4, left), at(11, top), 1.4 * scale,
                   kOutline);
    canvas.Disc(at(12, left), at(10.4, top), 2.7 * scale, kOutline);
    canvas.Segment(at(7.8, left), at(14.6, top), at(11.4, left), at(11, top), 0.6 * scale, kSteel);
    canvas.Disc(at(12, left), at(10.4, top), 1.9 * scale, kSteel);
    canvas.Segment(at(12.6, left), at(9.8, top), at(14.5, left), at(7.9, top), 0.8 * scale,
                   kSilver);
}

}  // namespace trawlex::host
