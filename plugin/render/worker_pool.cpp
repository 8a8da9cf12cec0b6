#include "plugin/render/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

#include "plugin/platform/crash_guard.h"

namespace kyrox {

WorkerPool::WorkerPool(unsigned thread_count)
{
    const unsigned count = std::max(thread_count, 1u);
    threads_.reserve(count);
    try {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back([this] { worker_loop(); });
        }
    } catch (...) {
        // The destructor does not run for a half-built pool; stop the workers that did start.
        {
            const std::lock_guard hold(queue_mutex_);
            stop_ = true;
        }
        work_available_.notify_all();
        for (auto& thread : threads_) {
            thread.join();
        }
        throw;
    }
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard hold(queue_mutex_);
        stop_ = true;
    }
    work_available_.notify_all();
    for (auto& thread : threads_) {
        thread.join();
    }
}

void WorkerPool::worker_loop()
{
    for (;;) {
        WorkerTaskPtr task;
        {
            std::unique_lock hold(queue_mutex_);
            work_available_.wait(hold, [this] { return stop_ || !queue_.empty(); });
            if (stop_) {
                return;
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        if (run_task(*task)) {
            result_.store(true);
        }
        // The task (and its copy of the job) goes before the chunk counts as done, so that no copy
        // of a job outlives the batch that ran it.
        task.reset();
        {
            const std::lock_guard hold(done_mutex_);
            done_count_.fetch_add(1);
        }
        all_done_.notify_one();
    }
}

bool WorkerPool::run_and_wait(WorkerBatch batch, std::int32_t count)
{
    done_count_.store(0);
    result_.store(false);
    std::int32_t queued = 0;
    try {
        for (auto& task : batch) {
            {
                const std::lock_guard hold(queue_mutex_);
                queue_.push_back(std::move(task));
            }
            ++queued;
            work_available_.notify_one();
        }
    } catch (...) {
        // Queued tasks may refer to the caller's data; they must be finished before it goes.
        wait_until_done(queued);
        throw;
    }
    return wait_until_done(count);
}

bool WorkerPool::wait_until_done(std::int32_t count)
{
    std::unique_lock hold(done_mutex_);
    all_done_.wait(hold, [this, count] { return done_count_.load() >= count; });
    return result_.load();
}

bool run_and_wait(WorkerPool& pool, WorkerBatch batch, std::int32_t count)
{
    return pool.run_and_wait(std::move(batch), count);
}

WorkerTaskPtr make_job_task(const RowJob& job, ThreadWorkData work)
{
    return std::make_unique<WorkerTask>(WorkerTask{job, work});
}

bool run_task(WorkerTask& task) noexcept
{
    bool result = false;
    auto body = [&] { result = task.job(task.work); };
    return run_guarded(body) && result;
}

bool parallel_for(WorkerPool& pool, RowJob job, std::int32_t n)
{
    const std::int32_t k = std::min(pool.thread_count(), n);
    if (k < 2) {
        return job(ThreadWorkData{0, n, 0});
    }
    WorkerBatch batch;
    batch.reserve(static_cast<std::size_t>(k));
    std::int32_t begin = 0;
    for (std::int32_t i = 0; i < k; ++i) {
        const std::int32_t size = (n - begin) / (k - i);
        batch.push_back(make_job_task(job, ThreadWorkData{begin, begin + size, i}));
        begin += size;
    }
    return run_and_wait(pool, std::move(batch), k);
}

bool parallel_blocks(WorkerPool& pool, const RowJob& job, std::int32_t n, std::int32_t grain)
{
    constexpr std::int64_t blocks_per_worker = 16;
    const std::int64_t step = std::max<std::int64_t>(grain, 1);
    const std::int64_t rows = std::max<std::int64_t>(n, 0);
    const std::int64_t steps = rows / (step * blocks_per_worker * pool.thread_count());
    const std::int64_t block = step * std::max<std::int64_t>(steps, 1);
    const auto blocks = static_cast<std::int32_t>((rows + block - 1) / block);
    std::atomic<std::int32_t> next{0};
    return parallel_for(
        pool,
        [&](const ThreadWorkData& chunk) {
            bool result = false;
            // Claiming needs no ordering: the batch's end publishes what every block wrote.
            for (std::int32_t b = next.fetch_add(1, std::memory_order_relaxed); b < blocks;
                 b = next.fetch_add(1, std::memory_order_relaxed)) {
                const std::int64_t begin = b * block;
                const ThreadWorkData rows_of_block{static_cast<std::int32_t>(begin),
                                                   static_cast<std::int32_t>(std::min(begin + block, rows)),
                                                   chunk.index};
                result = job(rows_of_block) || result;
            }
            return result;
        },
        blocks);
}

}  // namespace kyrox
