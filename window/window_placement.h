#pragma once
// Where a window goes on screen: near the window it belongs to, and always whole on the
// screen's available area (inside task bars and docks).

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace trawlex::window {

// The top-left of a frame of `frameSize` moved the least distance that puts it whole
// inside `available`; a frame larger than `available` keeps its top-left corner inside.
QPoint ClampedFramePosition(QPoint topLeft, QSize frameSize, const QRect& available);

// A frame of `frameSize` centred over `anchorFrame`, then clamped into `available`.
QPoint FramePositionNear(const QRect& anchorFrame, QSize frameSize, const QRect& available);

// The frame the window manager draws around `window`: the known one once the window has
// been shown, else an estimate from the style's title bar height.
QMargins FrameMargins(const QWidget& window);

// Moves top-level `window` so that its frame lies whole on the available area of the
// screen at `topLeft`.
void MoveOnScreen(QWidget& window, QPoint topLeft);

// Moves top-level `window` near `anchor` (a top-level window), whole on the anchor's
// screen.
void MoveNear(QWidget& window, const QWidget& anchor);

}  // namespace trawlex::window
