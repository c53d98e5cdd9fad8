#pragma once
// Layout in twips (1/1440 inch), converted to pixels by the screen's logical DPI.

#include <QRect>

class QWidget;

namespace trawlex::window {

inline constexpr int kTwipsPerInch = 1440;
// The screen resolution the design sizes were drawn at, and what one pixel is worth there.
inline constexpr int kDesignDpi = 96;
inline constexpr double kDesignTwipsPerPixel = static_cast<double>(kTwipsPerInch) / kDesignDpi;

// pixels = twips × dpi / 1440, rounded to the nearest pixel (also for negative values).
int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

// Horizontal and vertical conversions with the logical DPI of the widget's screen.
int TwipsToPixelsX(const QWidget& widget, int twips);
int TwipsToPixelsY(const QWidget& widget, int twips);
int PixelsToTwipsX(const QWidget& widget, int pixels);
int PixelsToTwipsY(const QWidget& widget, int pixels);

// A design rectangle (left, top, width, height in twips) in the widget's pixels.
QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height);

}  // namespace trawlex::window
