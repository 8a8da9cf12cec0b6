#pragma once
// The benchmark program's own process-wide pool, whose worker count a benchmark may choose. It takes
// the place of the plug-in's (the linker then leaves the plug-in's definition out). Include it in
// one source file of a program.
#include <cstdint>
#include <memory>

#include "plugin/platform/platform.h"
#include "plugin/render/worker_pool.h"

namespace {
std::unique_ptr<kyrox::WorkerPool> bench_pool;

void use_workers(unsigned count)
{
    if (!bench_pool || bench_pool->thread_count() != static_cast<std::int32_t>(count)) {
        bench_pool.reset();
        bench_pool = std::make_unique<kyrox::WorkerPool>(count);
    }
}
}  // namespace

kyrox::WorkerPool& kyrox::worker_pool()
{
    if (!bench_pool) {
        use_workers(platform::logical_processor_count());
    }
    return *bench_pool;
}
