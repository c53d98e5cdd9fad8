#pragma once
// The header of a result list. A fitted column can be as wide as its longest line, hundreds
// of thousands of pixels for a hit in a binary file, and the style paints a section as a
// whole however little of it shows: this header hands the style only the part of a section
// that can show, with a margin wider than any caption on either side, so the pixels in view
// are the same and a repaint costs what a narrow section costs. Sections whose caption is
// centred are painted whole.

#include <QHeaderView>
#include <QRect>

namespace trawlex::window {

class ResultHeader : public QHeaderView {
    Q_OBJECT
  public:
    // Wider than any caption (with its sort mark): a caption aligned to an edge of a section
    // that lies further out than this is out of view, cut or not.
    static constexpr int kMarginPixels = 2048;

    explicit ResultHeader(QWidget* parent = nullptr);

    // The part of a section's rectangle (in viewport coordinates) that is painted when the
    // viewport is `viewportWidth` wide.
    static QRect PaintedPart(const QRect& section, int viewportWidth);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace trawlex::window
