#include "cli/ordered_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace trawlex::cli {
namespace {

// Jobs that finish out of order (each sleeps a little, longer for some) still come back in
// order, whatever the number of threads; a job's result is its own.
TEST(RunJobsInOrder, HandsResultsOverInJobOrder) {
    for (unsigned threads : {1u, 2u, 3u, 8u}) {
        for (std::size_t lookahead : {std::size_t{1}, std::size_t{3}, std::size_t{1024}}) {
            std::vector<std::size_t> taken;
            std::atomic<int> runs{0};
            RunJobsInOrder<std::size_t>(
                40, threads,
                [&](std::size_t i) {
                    ++runs;
                    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 13 * 100));
                    return i * 10;
                },
                [&](std::size_t i, std::size_t& result) {
                    EXPECT_EQ(result, i * 10);
                    taken.push_back(i);
                    return i + 1;
                },
                lookahead);
            std::vector<std::size_t> all(40);
            for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
            EXPECT_EQ(taken, all) << threads << " threads, lookahead " << lookahead;
            EXPECT_EQ(runs.load(), 40);
        }
    }
}

// Many tiny jobs on many threads: the threads hand results over themselves, never two at
// once, none is lost and none comes twice.
TEST(RunJobsInOrder, TinyJobsAreHandedOverOnceEachOneAtATime) {
    for (unsigned threads : {2u, 8u}) {
        constexpr std::size_t kJobs = 20000;
        std::vector<std::size_t> taken;
        std::atomic<int> inside{0};
        std::atomic<int> overlaps{0};
        RunJobsInOrder<std::size_t>(
            kJobs, threads, [](std::size_t i) { return i; },
            [&](std::size_t i, std::size_t& result) {
                if (inside.fetch_add(1) != 0) ++overlaps;
                EXPECT_EQ(result, i);
                taken.push_back(i);
                inside.fetch_sub(1);
                return i + 1;
            },
            16);
        EXPECT_EQ(overlaps.load(), 0);
        ASSERT_EQ(taken.size(), kJobs) << threads;
        for (std::size_t i = 0; i < kJobs; ++i) ASSERT_EQ(taken[i], i);
    }
}

// Skipped jobs are never handed over, and with one thread never run.
TEST(RunJobsInOrder, SkipsTheJobsTheCallerPassesOver) {
    for (unsigned threads : {1u, 4u}) {
        std::vector<std::size_t> taken;
        std::vector<std::atomic<bool>> ran(30);
        RunJobsInOrder<int>(
            30, threads,
            [&](std::size_t i) {
                ran[i] = true;
                return static_cast<int>(i);
            },
            [&](std::size_t i, int& result) {
                EXPECT_EQ(result, static_cast<int>(i));
                taken.push_back(i);
                return i == 3 ? std::size_t{11} : i == 25 ? std::size_t{99} : i + 1;
            },
            2);
        std::vector<std::size_t> want = {0, 1, 2, 3};
        for (std::size_t i = 11; i <= 25; ++i) want.push_back(i);
        EXPECT_EQ(taken, want) << threads;
        if (threads == 1) {
            EXPECT_FALSE(ran[5]);
            EXPECT_FALSE(ran[29]);
        }
    }
}

TEST(RunJobsInOrder, NoJobsNoCalls) {
    bool called = false;
    RunJobsInOrder<int>(
        0, 4,
        [&](std::size_t) {
            called = true;
            return 0;
        },
        [&](std::size_t i, int&) {
            called = true;
            return i + 1;
        });
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace trawlex::cli
