#include "installer/title_picture.h"

#include <QPainter>

namespace trawlex::installer {

namespace {

// A sheet of code: lines of varying length, one of them marked as a hit.
void DrawSheet(QPainter& painter, const QRectF& sheet) {
    painter.setPen(QPen(QColor(0x40, 0x50, 0x70), sheet.width() / 60));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(sheet, sheet.width() / 20, sheet.width() / 20);
    const double margin = sheet.width() * 0.12;
    const double lineHeight = sheet.height() / 9;
    const double lengths[] = {0.55, 0.75, 0.4, 0.7, 0.6, 0.35, 0.65};
    for (int i = 0; i < 7; ++i) {
        const double y = sheet.top() + lineHeight * (i + 1.2);
        const double indent = (i == 0 || i == 6) ? 0 : margin;
        const double width = (sheet.width() - 2 * margin) * lengths[i];
        const QColor ink = i == 3 ? QColor(0xE0, 0x40, 0x30) : QColor(0x30, 0x60, 0xB0);
        painter.fillRect(QRectF(sheet.left() + margin + indent, y, width, lineHeight * 0.45), ink);
    }
}

void DrawMagnifier(QPainter& painter, const QPointF& centre, double radius) {
    const QPointF grip = centre + QPointF(radius * 0.72, radius * 0.72);
    painter.setPen(QPen(QColor(0x50, 0x30, 0x10), radius * 0.38, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(grip, grip + QPointF(radius * 0.8, radius * 0.8));
    QRadialGradient glass(centre, radius);
    glass.setColorAt(0, QColor(255, 255, 255, 40));
    glass.setColorAt(1, QColor(0xA0, 0xD0, 0xFF, 110));
    painter.setBrush(glass);
    painter.setPen(QPen(QColor(0x20, 0x30, 0x50), radius * 0.18));
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

QPixmap DrawTitlePicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSheet(painter, QRectF(size * 0.06, size * 0.04, size * 0.62, size * 0.8));
    DrawMagnifier(painter, QPointF(size * 0.56, size * 0.5), size * 0.2);
    return picture;
}

}  // namespace trawlex::installer
