// Where windows go: whole on the available screen area, near the window they belong to.

#include "window/window_placement.h"

#include <QtTest>

using trawlex::window::ClampedFramePosition;
using trawlex::window::FramePositionNear;

class WindowPlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void framesAreMovedWholeOntoTheAvailableArea() {
        const QRect available(0, 0, 1280, 984);  // a task bar below
        const QSize frame(600, 460);
        // Already whole: unchanged.
        QCOMPARE(ClampedFramePosition({100, 100}, frame, available), QPoint(100, 100));
        // Hanging off the bottom-left: pulled up and right just enough.
        QCOMPARE(ClampedFramePosition({-40, 800}, frame, available), QPoint(0, 524));
        // Off the right and the top.
        QCOMPARE(ClampedFramePosition({1000, -30}, frame, available), QPoint(680, 0));
        // An area that does not start at the origin (a second screen, a panel on top).
        QCOMPARE(ClampedFramePosition({0, 0}, frame, QRect(1280, 28, 1920, 1052)),
                 QPoint(1280, 28));
        // Larger than the area: its top-left corner stays visible.
        QCOMPARE(ClampedFramePosition({-10, -10}, QSize(2000, 1200), available), QPoint(0, 0));
    }

    void aWindowOpensCentredOverItsOwner() {
        const QRect available(0, 0, 1280, 984);
        const QSize frame(600, 460);
        QCOMPARE(FramePositionNear(QRect(100, 50, 1000, 700), frame, available), QPoint(300, 170));
        // An owner near the screen's corner: the window still lies whole on the screen.
        const QPoint corner = FramePositionNear(QRect(-200, 700, 500, 400), frame, available);
        QVERIFY(available.contains(QRect(corner, frame)));
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
