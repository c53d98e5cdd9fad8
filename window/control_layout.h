#pragma once
// Placing the controls of a designed window: design rectangles in twips, captions that
// may need a few pixels more than the design gave them in the substituted font, and the
// objectName (and array element number) the settings walk goes by.

#include <QString>
#include <QWidget>

namespace trawlex::window {

struct TwipsBox {
    int left, top, width, height;
};

// Sets the control's geometry (relative to its parent) from a box in `window`'s twips.
void Place(QWidget& control, const QWidget& window, const TwipsBox& box);

// Place, then widen the control to its size hint when its caption (or, for a combo box,
// its longest item) would otherwise be cut.
void PlaceCaptioned(QWidget& control, const QWidget& window, const TwipsBox& box);

// True when the control is at least as wide as its caption or items need.
bool CaptionFits(const QWidget& control);

template <typename Control>
Control* Named(Control* control, const char* objectName, int index = -1) {
    control->setObjectName(QString::fromLatin1(objectName));
    if (index >= 0) control->setProperty("index", index);
    return control;
}

// "MS UI Gothic" 9 point, the design font of every window; the Japanese design fonts map
// to the installed IPA fonts (see InstallDesignFontSubstitutes).
QFont DesignFont();

// Maps "MS UI Gothic", "MS PGothic" and "MS Mincho" to the IPA fonts the install script
// brings (with other Japanese fonts after them), once per process.
void InstallDesignFontSubstitutes();

}  // namespace trawlex::window
