#include "window/result_header.h"

#include <algorithm>

namespace trawlex::window {

ResultHeader::ResultHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

QRect ResultHeader::PaintedPart(const QRect& section, int viewportWidth) {
    QRect part = section;
    part.setLeft(std::max(section.left(), -kMarginPixels));
    part.setRight(std::min(section.right(), viewportWidth + kMarginPixels));
    return part;
}

void ResultHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QVariant aligned =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole)
                : QVariant();
    const auto alignment = aligned.isValid() ? Qt::Alignment(aligned.toInt()) : defaultAlignment();
    // A centred caption sits in the middle of the whole section.
    const bool cut = !(alignment & Qt::AlignHCenter);
    QHeaderView::paintSection(painter, cut ? PaintedPart(rect, viewport()->width()) : rect,
                              logicalIndex);
}

}  // namespace trawlex::window
