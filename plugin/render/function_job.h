#pragma once

#include <algorithm>
#include <cstdint>

#include "plugin/render/worker_pool.h"

namespace kyrox {

// Runs a plain-function job over [0, n) on the pool, always on pool threads (even a single chunk),
// in min(thread count, n) contiguous chunks, earlier ones never larger than later ones. Each chunk
// gets its own copy of the prototype with begin, end and index set to its range and number.
// Returns the batch result: true when any chunk returned true.
template <class Record>
bool run_function_job(WorkerPool& pool, bool (*job)(Record), const Record& prototype, std::int32_t n)
{
    const std::int32_t k = std::max(std::min(pool.thread_count(), n), 0);
    WorkerBatch batch;
    batch.reserve(static_cast<std::size_t>(k));
    std::int32_t start = 0;
    for (std::int32_t i = 0; i < k; ++i) {
        const std::int32_t size = (n - start) / (k - i);
        Record record = prototype;
        record.begin = start;
        record.end = start + size;
        record.index = i;
        batch.push_back(make_job_task([job, record](const ThreadWorkData&) { return job(record); },
                                      ThreadWorkData{start, start + size, i}));
        start += size;
    }
    return run_and_wait(pool, std::move(batch), k);
}

}  // namespace kyrox
