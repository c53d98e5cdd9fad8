#include "window/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace trawlex::window {

namespace {

QSize FrameSize(const QWidget& window) {
    const QMargins margins = FrameMargins(window);
    return window.size().grownBy(margins);
}

QRect AvailableAt(QPoint point, const QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

QPoint ClampedFramePosition(QPoint topLeft, QSize frameSize, const QRect& available) {
    if (!available.isValid()) return topLeft;
    const int right = available.x() + available.width() - frameSize.width();
    const int bottom = available.y() + available.height() - frameSize.height();
    const int x = std::max(available.x(), std::min(topLeft.x(), right));
    const int y = std::max(available.y(), std::min(topLeft.y(), bottom));
    return {x, y};
}

QPoint FramePositionNear(const QRect& anchorFrame, QSize frameSize, const QRect& available) {
    const QPoint centred(anchorFrame.x() + (anchorFrame.width() - frameSize.width()) / 2,
                         anchorFrame.y() + (anchorFrame.height() - frameSize.height()) / 2);
    return ClampedFramePosition(centred, frameSize, available);
}

QMargins FrameMargins(const QWidget& window) {
    if (const QWindow* handle = window.windowHandle()) {
        const QMargins known = handle->frameMargins();
        if (!known.isNull()) return known;
    }
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {border, title + border, border, border};
}

void MoveOnScreen(QWidget& window, QPoint topLeft) {
    const QSize frame = FrameSize(window);
    const QPoint centre = topLeft + QPoint(frame.width() / 2, frame.height() / 2);
    window.move(ClampedFramePosition(topLeft, frame, AvailableAt(centre, window)));
}

void MoveNear(QWidget& window, const QWidget& anchor) {
    const QRect anchorFrame = anchor.frameGeometry();
    const QSize frame = FrameSize(window);
    window.move(FramePositionNear(anchorFrame, frame, AvailableAt(anchorFrame.center(), anchor)));
}

}  // namespace trawlex::window
