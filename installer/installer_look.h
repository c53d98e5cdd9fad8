#pragma once
// What all the installer's windows share: a fixed-size dialog on a light blue background, and
// the Windows font names of its design mapped to installed fonts.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace trawlex::installer {

inline const QColor kLightBlue{0xCC, 0xE6, 0xFF};

// A top-level dialog window with only a close button, the light blue background, fixed at its
// current size. Call once its children are placed.
void MakeFixedDialog(QWidget* window, const QString& caption, int width, int height);

// "MS Mincho" falls back to installed Japanese serif (mincho) fonts, "MS Serif" to installed
// serif fonts. Idempotent.
void MapDesignFonts();

QFont DesignFont(const QString& family, int pointSize, bool bold = false);

// The wait cursor for as long as the object lives.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Pixels for a length in twips on that widget's screen (1440 twips to the inch).
int TwipsToPixels(const QWidget* widget, int twips);

}  // namespace trawlex::installer
