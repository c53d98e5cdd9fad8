#include "window/twips.h"

#include <QWidget>
#include <cmath>

namespace trawlex::window {

namespace {

int ScaleRounded(int value, int numerator, int denominator) {
    if (denominator <= 0) return value;
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
    return ScaleRounded(twips, dpi, kTwipsPerInch);
}

int PixelsToTwips(int pixels, int dpi) {
    return ScaleRounded(pixels, kTwipsPerInch, dpi);
}

int TwipsToPixelsX(const QWidget& widget, int twips) {
    return TwipsToPixels(twips, widget.logicalDpiX());
}

int TwipsToPixelsY(const QWidget& widget, int twips) {
    return TwipsToPixels(twips, widget.logicalDpiY());
}

int PixelsToTwipsX(const QWidget& widget, int pixels) {
    return PixelsToTwips(pixels, widget.logicalDpiX());
}

int PixelsToTwipsY(const QWidget& widget, int pixels) {
    return PixelsToTwips(pixels, widget.logicalDpiY());
}

QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height) {
    return QRect(TwipsToPixelsX(widget, left), TwipsToPixelsY(widget, top),
                 TwipsToPixelsX(widget, width), TwipsToPixelsY(widget, height));
}

}  // namespace trawlex::window
