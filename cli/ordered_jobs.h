#pragma once
// Runs numbered jobs on several threads and hands their results over in job order, so that
// what the caller writes out does not depend on how many threads did the work.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace trawlex::cli {

// Runs `run(i)` for the jobs i = 0 .. count-1 on `threads` threads (on the calling thread
// alone when 1) and calls `take(i, result)` on the calling thread for each in order.
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

    std::vector<std::optional<Result>> results(count);
    std::mutex mutex;
    std::condition_variable done;  // a result is in
    std::condition_variable room;  // the caller moved on
    std::size_t next_job = 0;      // the next job a thread takes
    std::size_t wanted = 0;        // the job the caller waits for; none below it is run

    const auto work = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            room.wait(lock, [&] { return next_job >= count || next_job < wanted + lookahead; });
            next_job = std::max(next_job, wanted);
            if (next_job >= count) return;
            const std::size_t job = next_job++;
            lock.unlock();
            Result result = run(job);
            lock.lock();
            results[job].emplace(std::move(result));
            done.notify_all();
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);

    for (std::size_t i = 0; i < count;) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return results[i].has_value(); });
        Result result = std::move(*results[i]);
        results[i].reset();
        lock.unlock();
        const std::size_t next = std::max(take(i, result), i + 1);
        lock.lock();
        for (std::size_t j = i + 1; j < std::min(next, count); ++j) results[j].reset();
        wanted = std::min(next, count);
        if (next >= count) next_job = count;
        room.notify_all();
        i = next;
    }
    {
        std::lock_guard lock(mutex);
        next_job = count;
    }
    room.notify_all();
    for (std::thread& worker : workers) worker.join();
}

}  // namespace trawlex::cli
