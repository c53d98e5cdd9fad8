#include "vbide/ide_icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace trawlex::vbide {

namespace {

constexpr int kSizes[] = {16, 32};

// Draws the picture at each size on a 16 × 16 grid, scaled.
template <typename Draw>
QIcon Drawn(Draw draw) {
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon EditorIcon() {
    return Drawn([](QPainter& p) {
        p.setPen(QColor(32, 32, 96));
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(0, 1, 15, 14);
        p.fillRect(1, 2, 14, 3, QColor(0, 0, 128));
        QFont font;
        font.setPixelSize(8);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0, 0, 128));
        p.drawText(QRect(1, 5, 14, 10), Qt::AlignCenter, QStringLiteral("VB"));
    });
}

QIcon CodeWindowIcon() {
    return Drawn([](QPainter& p) {
        const QPolygon page(
            {QPoint(2, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 15), QPoint(2, 15)});
        p.setPen(QColor(64, 64, 64));
        p.setBrush(Qt::white);
        p.drawPolygon(page);
        p.drawLine(10, 0, 10, 3);
        p.drawLine(10, 3, 13, 3);
        const QColor keyword(0, 0, 160);
        const QColor code(48, 48, 48);
        p.fillRect(4, 5, 3, 1, keyword);
        p.fillRect(8, 5, 3, 1, code);
        p.fillRect(5, 7, 6, 1, code);
        p.fillRect(5, 9, 4, 1, code);
        p.fillRect(4, 11, 5, 1, keyword);
        p.fillRect(4, 13, 7, 1, QColor(0, 128, 0));
    });
}

}  // namespace trawlex::vbide
