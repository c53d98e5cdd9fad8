// The fiber the search window scans a text in: suspending deep inside, resuming where it
// left off, failures, and new work after the end.

#include "window/fiber.h"

#include <QtTest>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using trawlex::window::Fiber;

namespace {

// Suspends at every level on the way down, so the resumes must find each frame as it was.
int Descend(Fiber& fiber, std::vector<std::string>& log, int depth) {
    const std::string here = "depth " + std::to_string(depth);
    if (depth == 0) return 0;
    log.push_back(here);
    fiber.Suspend();
    const int below = Descend(fiber, log, depth - 1);
    log.push_back(here + " back");
    return below + depth;
}

}  // namespace

class FiberTest : public QObject {
    Q_OBJECT

  private slots:
    void resumesEachTimeWhereTheWorkSuspended() {
        Fiber fiber;
        QVERIFY(fiber.Idle());
        std::vector<std::string> log;
        int sum = -1;
        fiber.Start([&] { sum = Descend(fiber, log, 3); });
        QVERIFY(!fiber.Idle());
        QVERIFY(log.empty());  // nothing runs before the first resume
        int resumes = 1;
        while (!fiber.Resume()) {
            QCOMPARE(int(log.size()), resumes);
            ++resumes;
        }
        QCOMPARE(resumes, 4);
        QCOMPARE(sum, 6);
        QCOMPARE(log, (std::vector<std::string>{"depth 3", "depth 2", "depth 1", "depth 1 back",
                                                "depth 2 back", "depth 3 back"}));
        QVERIFY(fiber.Idle());
    }

    void aFailureOfTheWorkComesOutOfResumeOnceItHasEnded() {
        Fiber fiber;
        bool unwound = false;
        fiber.Start([&] {
            auto marker = std::shared_ptr<void>(nullptr, [&](void*) { unwound = true; });
            fiber.Suspend();
            throw std::runtime_error("broken text");
        });
        QVERIFY(!fiber.Resume());
        QVERIFY(!unwound);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, fiber.Resume());
        QVERIFY(unwound);
        QVERIFY(fiber.Idle());

        // The same stack takes new work.
        int runs = 0;
        fiber.Start([&] { ++runs; });
        QVERIFY(fiber.Resume());
        QCOMPARE(runs, 1);
    }

    void refusesToStartWhileBusyOrToResumeWithoutWorkOrFromInside() {
        Fiber fiber;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, fiber.Resume());
        bool refusedInside = false;
        fiber.Start([&] {
            fiber.Suspend();
            try {
                fiber.Resume();
            } catch (const std::logic_error&) {
                refusedInside = true;
            }
        });
        QVERIFY(!fiber.Resume());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, fiber.Start([] {}));
        QVERIFY(fiber.Resume());
        QVERIFY(refusedInside);
    }
};

QTEST_GUILESS_MAIN(FiberTest)
#include "fiber_test.moc"
