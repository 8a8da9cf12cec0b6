#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kyrox {

// The rows of one chunk of a job: begin <= row < end. index numbers the chunks of a batch from 0,
// for jobs that keep scratch data per chunk.
struct ThreadWorkData {
    std::int32_t begin = 0;
    std::int32_t end = 0;
    std::int32_t index = 0;
};

// A row job: runs over the rows of its work data and reports a flag.
using RowJob = std::function<bool(const ThreadWorkData&)>;

// One queued unit of a batch: its own copy of the job and the rows it covers.
struct WorkerTask {
    RowJob job;
    ThreadWorkData work;
};

using WorkerTaskPtr = std::unique_ptr<WorkerTask>;
using WorkerBatch = std::vector<WorkerTaskPtr>;

// A fixed set of worker threads taking tasks from one first-in-first-out queue. It has one done
// counter and one result flag, so it serves one batch at a time, and a job must never start a
// batch of its own. Destroying the pool stops and joins the workers; tasks still queued are not run.
class WorkerPool {
public:
    // Starts thread_count workers (at least one).
    explicit WorkerPool(unsigned thread_count);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    std::int32_t thread_count() const noexcept { return static_cast<std::int32_t>(threads_.size()); }

    // Queues the batch and blocks until count of its tasks have finished. Returns true when any of
    // them returned true.
    bool run_and_wait(WorkerBatch batch, std::int32_t count);

private:
    void worker_loop();
    bool wait_until_done(std::int32_t count);

    std::deque<WorkerTaskPtr> queue_;
    std::vector<std::thread> threads_;
    std::mutex queue_mutex_;
    std::mutex done_mutex_;
    std::condition_variable work_available_;
    std::condition_variable all_done_;
    bool stop_ = false;
    std::atomic<std::int32_t> done_count_{0};
    std::atomic<bool> result_{false};
};

// The process-wide pool, one worker per logical processor, created on first use.
WorkerPool& worker_pool();

// Runs job over rows [0, n): in contiguous chunks, one per worker and never more than n, or once on
// the calling thread when that makes fewer than two chunks. Blocks until every chunk is done and
// returns the OR of their results. A chunk that faults or throws counts as false.
bool parallel_for(WorkerPool& pool, RowJob job, std::int32_t n);

// Runs job over rows [0, n) on the same chunks as parallel_for, but hands the rows out in blocks,
// about sixteen a worker and each a multiple of grain rows, to whichever chunk asks next: a chunk
// that wakes late or shares its core takes fewer blocks instead of holding up the batch. job sees
// one block at a time, with its chunk's index, so it suits jobs whose rows do not depend on one
// another. Returns the OR of the blocks' results; a block that faults or throws ends its chunk,
// whose unclaimed blocks the other chunks take.
bool parallel_blocks(WorkerPool& pool, const RowJob& job, std::int32_t n, std::int32_t grain = 1);

// Free-function form of WorkerPool::run_and_wait.
bool run_and_wait(WorkerPool& pool, WorkerBatch batch, std::int32_t count);

// A task holding its own copy of the job.
WorkerTaskPtr make_job_task(const RowJob& job, ThreadWorkData work);

// Runs the task's job on its rows under the crash guard; a fault, an exception or an empty job
// yields false.
bool run_task(WorkerTask& task) noexcept;

}  // namespace kyrox
