#pragma once
// Runs numbered jobs on several threads and hands their results over in job order, so that
// what the caller writes out does not depend on how many threads did the work.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace trawlex::cli {

// Runs `run(i)` for the jobs i = 0 .. count-1 on `threads` threads (on the calling thread
// alone when 1) and calls `take(i, result)` for each in order, one call at a time, on the
// calling thread or on the threads that ran the jobs.
// `take` returns the next job whose result it wants: i + 1, or further on to skip jobs
// (their results are dropped; those not started yet are not run). Jobs run at most
// `lookahead` places ahead of the job handed over last, which bounds the results held.
template <typename Result, typename Run, typename Take>
void RunJobsInOrder(std::size_t count, unsigned threads, Run&& run, Take&& take,
                    std::size_t lookahead = 1024) {
    if (threads <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count;) {
            Result result = run(i);
            i = take(i, result);
        }
        return;
    }

    // Jobs are taken and results handed over without a lock: the thread that finds the next
    // result ready hands it over, with those after it that are ready too, while the others go
    // on searching. Threads wait on the mutex only when they run too far ahead.
    std::vector<std::optional<Result>> results(count);
    std::vector<std::atomic<bool>> ready(count);
    std::atomic<std::size_t> next_job{0};
    std::atomic<std::size_t> wanted{0};      // the next job to hand over; none below it is run
    std::atomic<bool> over{false};           // the caller wants no more
    std::atomic<std::size_t> hand_overs{0};  // threads that asked for one, not yet served
    std::atomic<unsigned> waiting_for_room{0};
    std::mutex mutex;
    std::condition_variable room;  // the hand-over moved on

    // Called by a thread after it made a result ready. One thread at a time hands over; a
    // thread that asks while another does leaves its result to that one, which goes round
    // again for it.
    const auto hand_over = [&] {
        if (hand_overs.fetch_add(1) > 0) return;
        for (std::size_t served = 1;;) {
            std::size_t i = wanted;
            while (i < count && !over && ready[i]) {
                Result result = std::move(*results[i]);
                results[i].reset();
                const std::size_t next = std::max(take(i, result), i + 1);
                wanted = std::min(next, count);
                if (next >= count) over = true;
                if (waiting_for_room > 0) {
                    const std::lock_guard lock(mutex);
                    room.notify_all();
                }
                i = next;
            }
            const std::size_t asked = hand_overs.fetch_sub(served);
            if (asked == served) return;
            served = asked - served;
        }
    };

    const auto work = [&] {
        for (;;) {
            const std::size_t job = next_job.fetch_add(1);
            if (job >= count || over) break;
            if (job >= wanted + lookahead) {
                std::unique_lock lock(mutex);
                ++waiting_for_room;
                room.wait(lock, [&] { return over || job < wanted + lookahead; });
                --waiting_for_room;
                if (over) break;
            }
            if (job < wanted) continue;  // passed over
            results[job].emplace(run(job));
            ready[job] = true;
            hand_over();
        }
        // A thread with no job left wakes those waiting for room, so that all can end.
        const std::lock_guard lock(mutex);
        room.notify_all();
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();
}

}  // namespace trawlex::cli
